#include "network.h"

TForm14::TForm14(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm14"))
{
}
