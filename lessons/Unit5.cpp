#include "Unit5.h"

TForm5::TForm5(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm5"))
{
}
