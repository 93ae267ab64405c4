#include "Application.h"

#include <QFont>
#include <QMessageBox>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("LK-72"));
    setOrganizationName(QStringLiteral("LK-72"));
    InstallFontSubstitutions();
}

void TApplication::InstallFontSubstitutions()
{
    const QStringList noto = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")};
    for (const QString &name : {QStringLiteral("MS Pゴシック"), QStringLiteral("ＭＳ Ｐゴシック"),
                                QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ ゴシック"),
                                QStringLiteral("MS Gothic")})
        QFont::insertSubstitutions(name, noto);
    QFont base(QStringLiteral("MS Pゴシック"));
    base.setPointSize(10);
    setFont(base);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        QMessageBox::critical(activeWindow(), QString(), QString::fromStdString(error.what()));
    } catch (...) {
        QMessageBox::critical(activeWindow(), QString(), QStringLiteral("予期しないエラーが発生しました"));
    }
    return false;
}
