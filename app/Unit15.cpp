#include "Unit15.h"

#include "Unit1.h"

TForm15::TForm15(TForm1 &mainWindow)
    : QDialog(&mainWindow)
    , m_main(mainWindow)
{
    setObjectName(QStringLiteral("TForm15"));
}
