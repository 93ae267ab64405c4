#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QWidget;

// A diagnostic of start-up and page changes, off unless LK72_TRACE_START is
// set: lines "lk72-trace ms=... what" on stderr, counted from the trace's
// creation (the first thing the entry does), so a benchmark or a developer
// sees where the time goes without a profiler.
class TStartupTrace : public QObject {
    Q_OBJECT
public:
    static bool Wanted();
    TStartupTrace();

    void Note(const QString &what);
    // Notes `what` when `widget` is next painted.
    void NoteFirstPaint(QWidget *widget, const QString &what);
    // A change to page `number` starts now (before the page is built) ...
    void BeginPageChange(int number);
    // ... and is noted as "page-shown N ms=..." when `page` is next painted.
    void WatchPagePaint(QWidget *page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Print(const QString &line);

    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sincePageChange;
    QObject *m_page = nullptr;
    int m_pageNumber = -1;
    QObject *m_painted = nullptr;
    QString m_paintedNote;
};
