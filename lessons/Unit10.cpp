#include "Unit10.h"

TForm10::TForm10(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm10"))
{
}
