#include "PageScreen.h"

#include <QMessageBox>
#include <QPalette>

TPageScreen::TPageScreen(TMainHost &host, QWidget *parent, const QString &objectName)
    : QWidget(parent)
    , m_host(host)
{
    setObjectName(objectName);
    setFixedSize(720, 430);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void TPageScreen::ShowCreateError(QWidget *parent)
{
    QMessageBox::warning(parent, QString(),
                         QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
}
