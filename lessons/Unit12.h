#pragma once

#include "PageScreen.h"

// STEP4: the one-line text exercise.
class TForm12 : public TPageScreen {
    Q_OBJECT
public:
    TForm12(TMainHost &host, QWidget *parent);
};
