#include "Unit13.h"

TForm13::TForm13(TMainHost &host, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_host(host)
{
    setObjectName(QStringLiteral("TForm13"));
    setFixedSize(399, 298);
}
