#pragma once

#include "StationCommand.h"

#include <QObject>

class TMainHost;

// Commands from other stations wait for the lamp one after another. A station
// that sends faster than the lamp can light would keep the lamp busy long
// after it stopped, so only a few commands may wait; the rest are refused and
// the hint area says so.
class TStationCommandGate : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxWaiting = 16;

    TStationCommandGate(TMainHost &host, QObject *parent);

    // Runs the command at once when the lamp is free, otherwise lets it wait;
    // false when too many already wait.
    bool Submit(const TStationCommand &command);
    int Waiting() const { return m_waiting; }
    qint64 RefusedCount() const { return m_refused; }

    static QString RefusedText();

private:
    TMainHost &m_host;
    int m_waiting = 0;
    qint64 m_refused = 0;
};
