#pragma once

#include "PageScreen.h"

// STEP10: how the lamp plays the last transferred program without the computer.
class TForm8 : public TPageScreen {
    Q_OBJECT
public:
    TForm8(TMainHost &host, QWidget *parent);
};
