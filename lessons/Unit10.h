#pragma once

#include "PageScreen.h"

// The report of a STEP3 or STEP5 program.
class TForm10 : public TPageScreen {
    Q_OBJECT
public:
    TForm10(TMainHost &host, QWidget *parent);
};
