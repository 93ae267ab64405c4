#pragma once

#include "PageScreen.h"

// STEP2: a colour for a number of seconds.
class TForm3 : public TPageScreen {
    Q_OBJECT
public:
    TForm3(TMainHost &host, QWidget *parent);
};
