#pragma once

#include "PageScreen.h"

// STEP6: the keyboard.
class TForm4 : public TPageScreen {
    Q_OBJECT
public:
    TForm4(TMainHost &host, QWidget *parent);
};
