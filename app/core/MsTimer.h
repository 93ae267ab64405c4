#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Periodic millisecond timer with the restart rule of the lesson screens:
// every change of Enabled, Interval or OnTimer restarts it, a change to the
// value already held does nothing, and it ticks only with Enabled true, a
// non-zero Interval and a handler.
class TMsTimer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(TMsTimer *)>;

    explicit TMsTimer(QObject *parent = nullptr);
    ~TMsTimer() override;

    bool Enabled() const { return m_enabled; }
    int Interval() const { return m_interval; }
    bool HasOnTimer() const { return static_cast<bool>(m_onTimer); }
    bool IsRunning() const { return m_timer.isActive(); }

    void SetEnabled(bool enabled);
    void SetInterval(int milliseconds);
    void SetOnTimer(Handler handler);

private:
    void Restart();

    bool m_enabled = true;
    int m_interval = 1000;
    Handler m_onTimer;
    QTimer m_timer;
};
