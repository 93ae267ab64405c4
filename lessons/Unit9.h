#pragma once

#include "PageScreen.h"

// The preview of a checked program.
class TForm9 : public TPageScreen {
    Q_OBJECT
public:
    TForm9(TMainHost &host, QWidget *parent);
};
