#include "Unit7.h"

TForm7::TForm7(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm7"))
{
}
