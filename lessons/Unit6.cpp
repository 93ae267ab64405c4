#include "Unit6.h"

TForm6::TForm6(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm6"))
{
}
