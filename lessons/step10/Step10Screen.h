#pragma once

#include "PageScreen.h"

// STEP10: how the lamp plays the last transferred program without the computer.
class TStep10Screen : public TPageScreen {
    Q_OBJECT
public:
    TStep10Screen(TMainHost &host, QWidget *parent);
};
