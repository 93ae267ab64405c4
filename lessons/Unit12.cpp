#include "Unit12.h"

TForm12::TForm12(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm12"))
{
}
