#pragma once

#include "PageScreen.h"

// STEP5: text programs.
class TForm7 : public TPageScreen {
    Q_OBJECT
public:
    TForm7(TMainHost &host, QWidget *parent);
};
