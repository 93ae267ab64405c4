#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is
// shown in a message box with its text, and the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Japanese screen font: the system's "MS Pゴシック" names map to Noto Sans CJK JP.
    static void InstallFontSubstitutions();
    // Loads Qt's Japanese translations (Debian's qt6-translations-l10n);
    // the number of catalogs found. Without them Qt's dialogs stay English.
    int InstallQtTranslations();
};
