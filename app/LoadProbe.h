#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;

// A diagnostic for load measurements, off unless LK72_LOAD_PROBE is set. A
// 100 ms timer notes how late it fires; once a second one line goes to
// stderr with the worst lateness of that second and the caller's counters,
// so a benchmark can tell whether the window kept answering under load.
class TLoadProbe : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMs = 100;

    static bool Wanted();
    TLoadProbe(std::function<QString()> counters, QObject *parent);

private:
    void Tick();

    QTimer *m_timer;
    std::function<QString()> m_counters;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceReport;
    qint64 m_worstLate = 0;
};
