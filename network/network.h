#pragma once

#include "PageScreen.h"

// STEP8: program exchange between stations.
class TForm14 : public TPageScreen {
    Q_OBJECT
public:
    TForm14(TMainHost &host, QWidget *parent);
};
