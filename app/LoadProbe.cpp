#include "LoadProbe.h"

#include <QTimer>
#include <cstdio>

bool TLoadProbe::Wanted()
{
    return qEnvironmentVariableIsSet("LK72_LOAD_PROBE");
}

TLoadProbe::TLoadProbe(std::function<QString()> counters, QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_counters(std::move(counters))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(TickMs);
    connect(m_timer, &QTimer::timeout, this, &TLoadProbe::Tick);
    m_timer->start();
    m_sinceTick.start();
    m_sinceReport.start();
}

void TLoadProbe::Tick()
{
    m_worstLate = qMax(m_worstLate, m_sinceTick.restart() - TickMs);
    if (m_sinceReport.elapsed() < 1000)
        return;
    m_sinceReport.restart();
    const QString line = QStringLiteral("lk72-probe late-ms=%1 %2\n").arg(m_worstLate).arg(m_counters ? m_counters() : QString());
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    m_worstLate = 0;
}
