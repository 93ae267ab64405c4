#pragma once

#include <QWidget>

class TMainHost;

// A screen of the main window's page host (720 x 430). The host calls FormShow
// every time the screen's page becomes the visible one.
class TPageScreen : public QWidget {
    Q_OBJECT
public:
    TPageScreen(TMainHost &host, QWidget *parent, const QString &objectName);

    virtual void FormShow() {}

    // The warning box shown when a screen could not be set up completely.
    static void ShowCreateError(QWidget *parent);

protected:
    TMainHost &Host() { return m_host; }

private:
    TMainHost &m_host;
};
