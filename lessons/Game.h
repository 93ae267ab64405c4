#pragma once

#include "PageScreen.h"

// STEP9: the traffic-signal game.
class TForm17 : public TPageScreen {
    Q_OBJECT
public:
    TForm17(TMainHost &host, QWidget *parent);
};
