#include "Unit3.h"

TForm3::TForm3(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm3"))
{
}
