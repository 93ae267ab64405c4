#include "StartupTrace.h"

#include <QEvent>
#include <QFile>
#include <QWidget>
#include <cstdio>

bool TStartupTrace::Wanted()
{
    return qEnvironmentVariableIsSet("LK72_TRACE_START");
}

TStartupTrace::TStartupTrace()
{
    m_sinceStart.start();
}

void TStartupTrace::Print(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

namespace {

// The resident memory from the system's own count, in kB; 0 where there is none.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    // The file says it is empty until read: read it whole.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace

void TStartupTrace::Note(const QString &what)
{
    Print(QStringLiteral("lk72-trace ms=%1 rss-kb=%2 %3\n")
              .arg(m_sinceStart.nsecsElapsed() / 1e6, 0, 'f', 1)
              .arg(ResidentKb())
              .arg(what));
}

void TStartupTrace::NoteFirstPaint(QWidget *widget, const QString &what)
{
    m_painted = widget;
    m_paintedNote = what;
    widget->installEventFilter(this);
}

void TStartupTrace::BeginPageChange(int number)
{
    if (m_page)
        m_page->removeEventFilter(this);
    m_page = nullptr;
    m_pageNumber = number;
    m_sincePageChange.start();
}

void TStartupTrace::WatchPagePaint(QWidget *page)
{
    if (m_page || m_pageNumber < 0)
        return;
    m_page = page;
    page->installEventFilter(this);
}

bool TStartupTrace::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return false;
    if (watched == m_page) {
        Print(QStringLiteral("lk72-trace page-shown %1 ms=%2\n")
                  .arg(m_pageNumber)
                  .arg(m_sincePageChange.nsecsElapsed() / 1e6, 0, 'f', 1));
        m_page->removeEventFilter(this);
        m_page = nullptr;
        m_pageNumber = -1;
    }
    if (watched == m_painted) {
        Note(m_paintedNote);
        m_painted->removeEventFilter(this);
        m_painted = nullptr;
    }
    return false;
}
