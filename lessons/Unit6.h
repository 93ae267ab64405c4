#pragma once

#include "PageScreen.h"

// STEP7: light-and-sound programs.
class TForm6 : public TPageScreen {
    Q_OBJECT
public:
    TForm6(TMainHost &host, QWidget *parent);
};
