#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

// A lamp on a pseudo-terminal for the wire tests: the program opens the
// slave device, this end reads every byte and records when it arrived.
class PtyLamp {
public:
    struct Arrival {
        quint8 byte;
        qint64 nanoseconds; // steady clock
    };

    PtyLamp();
    ~PtyLamp();
    PtyLamp(const PtyLamp &) = delete;
    PtyLamp &operator=(const PtyLamp &) = delete;

    bool IsValid() const { return m_master >= 0; }
    // The slave's path, for Trs232c::portname or a com1= key.
    QString Device() const { return m_device; }

    QList<Arrival> Arrivals() const;
    QByteArray Bytes() const;
    // Milliseconds between arrival i-1 and i.
    double GapMs(int i) const;
    void Clear();

private:
    void ReadLoop();

    int m_master = -1;
    int m_slave = -1;
    QString m_device;
    mutable std::mutex m_mutex;
    QList<Arrival> m_arrivals;
    std::atomic<bool> m_stop{false};
    std::thread m_reader;
};
