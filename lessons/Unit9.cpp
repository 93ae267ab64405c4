#include "Unit9.h"

TForm9::TForm9(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm9"))
{
}
