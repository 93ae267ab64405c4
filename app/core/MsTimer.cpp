#include "MsTimer.h"

TMsTimer::TMsTimer(QObject *parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_onTimer)
            m_onTimer(this);
    });
}

TMsTimer::~TMsTimer()
{
    m_enabled = false;
    Restart();
}

void TMsTimer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Restart();
}

void TMsTimer::SetInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    Restart();
}

void TMsTimer::SetOnTimer(Handler handler)
{
    m_onTimer = std::move(handler);
    Restart();
}

void TMsTimer::Restart()
{
    m_timer.stop();
    if (m_enabled && m_interval > 0 && m_onTimer)
        m_timer.start(m_interval);
}
