#pragma once

#include "PageScreen.h"

// STEP3: the block program editor.
class TForm5 : public TPageScreen {
    Q_OBJECT
public:
    TForm5(TMainHost &host, QWidget *parent);
};
