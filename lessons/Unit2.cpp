#include "Unit2.h"

TForm2::TForm2(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm2"))
{
}
