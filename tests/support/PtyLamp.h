#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <sys/types.h>
#include <atomic>
#include <mutex>
#include <thread>

// A lamp on a pseudo-terminal for the wire tests: the program opens the
// slave device, this end reads every byte. Pauses are taken from the
// program's own write calls (WireRecorder), not from the arrivals: a reader
// that a busy machine wakes late cannot see a pause, the writer's calls can.
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
    // Milliseconds from the write call that sent byte i-1 to the one that
    // sent byte i (0 when both went in one call); never shorter than the
    // pause the sender kept between them.
    double GapMs(int i) const;
    void Clear();

private:
    void ReadLoop();
    // When the write call that carried byte i began (ns), or -1 when the
    // program has not written that many bytes.
    qint64 SentAt(int i) const;

    int m_master = -1;
    int m_slave = -1;
    dev_t m_rdev = 0;
    int m_sentBeforeClear = 0; // bytes written before the last Clear()
    QString m_device;
    mutable std::mutex m_mutex;
    QList<Arrival> m_arrivals;
    std::atomic<bool> m_stop{false};
    std::thread m_reader;
};
