#include "Net_Message.h"

TForm16::TForm16(TMainHost &host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("TForm16"));
}
