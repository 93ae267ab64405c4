#include "Game.h"

TForm17::TForm17(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm17"))
{
}
