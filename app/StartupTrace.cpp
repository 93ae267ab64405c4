#include "StartupTrace.h"

#include <QEvent>
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

void TStartupTrace::Note(const QString &what)
{
    Print(QStringLiteral("lk72-trace ms=%1 %2\n").arg(m_sinceStart.nsecsElapsed() / 1e6, 0, 'f', 1).arg(what));
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
