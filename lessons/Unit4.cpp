#include "Unit4.h"

TForm4::TForm4(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm4"))
{
}
