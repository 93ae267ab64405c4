#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>

class QSerialPort;
class QSocketNotifier;

// The lamp's end of the serial line: a pseudo-terminal of its own, or an
// existing serial device. Every byte that arrives is reported with the time
// it arrived, in milliseconds since the line was opened.
class TLampLine : public QObject {
    Q_OBJECT
public:
    explicit TLampLine(QObject *parent = nullptr);
    ~TLampLine() override;

    // Creates a pseudo-terminal in raw mode; DevicePath() names its other end.
    bool OpenPseudoTerminal(QString *error);
    // Opens an existing device at 9600 baud, 8N1, for reading.
    bool OpenDevice(const QString &path, QString *error);

    QString DevicePath() const { return m_devicePath; }
    qint64 NowMs() const { return m_clock.elapsed(); }

Q_SIGNALS:
    void ByteReceived(int byte, qint64 atMs);

private:
    void ReadMaster();

    int m_master = -1;
    int m_slave = -1; // held open so the line survives the program closing its end
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QSerialPort> m_serial;
    QString m_devicePath;
    QElapsedTimer m_clock;
};
