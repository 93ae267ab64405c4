#pragma once

#include "PageScreen.h"

// STEP1: the first light.
class TForm2 : public TPageScreen {
    Q_OBJECT
public:
    TForm2(TMainHost &host, QWidget *parent);
};
