#include "Application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("LK-72"));
    setOrganizationName(QStringLiteral("LK-72"));
    InstallFontSubstitutions();
    InstallQtTranslations();
}

int TApplication::InstallQtTranslations()
{
    // The program speaks Japanese whatever the system's language: Qt's own
    // dialogs (files, printing, the Yes/No of questions) follow it.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int loaded = 0;
    for (const QString &catalog : {QStringLiteral("qtbase_ja"), QStringLiteral("qtmultimedia_ja"),
                                   QStringLiteral("qtserialport_ja")}) {
        auto *translator = new QTranslator(this);
        if (translator->load(catalog, folder) && installTranslator(translator)) {
            ++loaded;
            continue;
        }
        delete translator;
    }
    return loaded;
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
