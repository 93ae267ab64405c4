#pragma once

#include <QStringList>
#include <QWidget>

class TMainHost;

// A screen of the main window's page host (720 x 430). The host calls FormShow
// every time the screen's page becomes the visible one.
class TPageScreen : public QWidget {
    Q_OBJECT
public:
    TPageScreen(TMainHost &host, QWidget *parent, const QString &objectName);

    virtual void FormShow() {}

    // A lesson whose program is kept while the program runs: the name of its
    // record ("STEP3"), the record's lines as its save button writes them,
    // and taking such lines back as its read button does. Empty for others.
    virtual QString KeptLessonName() const { return {}; }
    virtual QStringList KeptRecordLines() const { return {}; }
    virtual void RestoreKeptRecord(const QStringList &) {}

    // The warning box shown when a screen could not be set up completely.
    static void ShowCreateError(QWidget *parent);

Q_SIGNALS:
    // What KeptRecordLines gives may have changed.
    void KeptRecordChanged();

protected:
    TMainHost &Host() { return m_host; }

private:
    TMainHost &m_host;
};
