#pragma once

#include <QFlags>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QLockFile;

// The serial port to the lamp. The link is one-way, so the device is opened
// for writing only; nothing is ever read back from the lamp.
class Trs232c : public QObject {
    Q_OBJECT
public:
    // One member per bit of `flowflag`, bit 0 first (the line-control flag
    // word of the Windows line settings).
    enum rsflow : unsigned {
        dfBinary = 1u << 0,
        dfParity = 1u << 1,
        dfOutxCtsFlow = 1u << 2,
        dfOutxDsrFlow = 1u << 3,
        dfDtrControl_b0 = 1u << 4,
        dfDtrControl_b1 = 1u << 5,
        dfDsrSensitivity = 1u << 6,
        dfTXContinueOnXoff = 1u << 7,
        dfOutX = 1u << 8,
        dfInX = 1u << 9,
        dfErrorChar = 1u << 10,
        dfNull = 1u << 11,
        dfRtsControl_b0 = 1u << 12,
        dfRtsControl_b1 = 1u << 13,
        dfAbortOnError = 1u << 14,
    };
    Q_DECLARE_FLAGS(rsflowset, rsflow)

    // Why the last Open failed.
    enum class OpenProblem { None, AlreadyOpen, NotFound, InUse, NoPermission, Unusable };

    using Handler = std::function<void(Trs232c *)>;

    explicit Trs232c(QObject *parent = nullptr);
    ~Trs232c() override;

    // Line settings, applied by the next Open.
    QString portname = QStringLiteral("COM1");
    int bps = 9600;
    int charbit = 8;
    QString stopbit = QStringLiteral("1");
    QString paritymode = QStringLiteral("無し");
    int rxbuffsize = 1024;
    int txbuffsize = 1024;
    int readinterval = 0;
    int rxtimeout = 30000;
    int txtimeout = 30000; // longest wait for one write to finish, ms
    int flowflag = dfBinary;
    int packetsize = 0;
    int XonLim = 0;
    int XoffLim = 0;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    // `flowflag` seen as a set; writing sets exactly the members' bits.
    rsflowset flow() const { return rsflowset(static_cast<unsigned>(flowflag) & 0x7fffu); }
    void setFlow(rsflowset members) { flowflag = static_cast<int>(members.toInt()); }

    Handler OnOpen;  // after a successful open
    Handler OnClose; // during close, while the lines can still be changed

    bool Open();
    bool Close();
    bool IsOpen() const { return m_open; }

    // True only when all `count` bytes were handed to the device within
    // `txtimeout`.
    bool WriteBuffer(const char *bytes, qint64 count);
    bool WriteByte(quint8 b);
    bool SetRTS(bool on);
    bool SetDTR(bool on);

    // The device the last Open tried ("" when the name matched no device),
    // and why it failed.
    QString Device() const { return m_device; }
    OpenProblem LastOpenProblem() const { return m_problem; }
    // True when a write failed since the last Open (device unplugged, time-out).
    bool HadWriteFailure() const { return m_writeFailed; }

    // The stop-bit and parity tables: exact text match; any other text
    // leaves the setting as it was.
    static std::optional<QSerialPort::StopBits> StopBitsFor(const QString &text);
    static std::optional<QSerialPort::Parity> ParityFor(const QString &text);
    // The flow control the flag word asks for.
    static QSerialPort::FlowControl FlowControlFor(int flowflag);

private:
    void ApplySettings();
    OpenProblem ProblemFor(QSerialPort::SerialPortError error) const;
    void OnDeviceError(QSerialPort::SerialPortError error);
    // False when another program holds the configured name of a device that
    // is reached through a link (`real`, its target).
    bool LockAlias(const QString &real);

    QSerialPort m_serial;
    std::unique_ptr<QLockFile> m_aliasLock;
    QString m_device;
    OpenProblem m_problem = OpenProblem::None;
    bool m_open = false;
    bool m_writeFailed = false;
    bool m_deviceLost = false;
    char m_byte = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Trs232c::rsflowset)
