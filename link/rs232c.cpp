#include "rs232c.h"

#include "PortNames.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Where a program that follows the serial lock convention (Qt's own serial
// port among them) records that it holds the device called `name`: LCK..
// and the name below /dev with "/" as "_", in the first lock folder there is.
QString SerialLockPath(const QString &name)
{
    QString file = name.startsWith(QLatin1String("/dev/")) ? name.mid(5) : name;
    file.replace(QLatin1Char('/'), QLatin1Char('_'));
    file.prepend(QLatin1String("/LCK.."));
    const QStringList folders{QStringLiteral("/var/lock"),        QStringLiteral("/etc/locks"),
                              QStringLiteral("/var/spool/locks"), QStringLiteral("/var/spool/uucp"),
                              QStringLiteral("/tmp"),             QStringLiteral("/var/tmp"),
                              QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
                              QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    for (const QString &folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFile::exists(folder + file) || info.isWritable()))
            return folder + file;
    }
    return QString();
}
#endif

} // namespace

Trs232c::Trs232c(QObject *parent)
    : QObject(parent)
{
    // An unplugged adapter: give the device up, so the next transfer opens it
    // again once the cable is back.
    connect(&m_serial, &QSerialPort::errorOccurred, this, &Trs232c::OnDeviceError);
}

Trs232c::~Trs232c()
{
    Close();
}

std::optional<QSerialPort::StopBits> Trs232c::StopBitsFor(const QString &text)
{
    if (text == QLatin1String("1"))
        return QSerialPort::OneStop;
    if (text == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (text == QLatin1String("2"))
        return QSerialPort::TwoStop;
    return std::nullopt;
}

std::optional<QSerialPort::Parity> Trs232c::ParityFor(const QString &text)
{
    struct Row {
        QSerialPort::Parity parity;
        const char16_t *words[6];
    };
    static const Row rows[] = {
        {QSerialPort::NoParity, {u"無し", u"なし"}},
        {QSerialPort::OddParity, {u"奇数", u"きすう", u"ODD", u"odd", u"ＯＤＤ", u"ｏｄｄ"}},
        {QSerialPort::EvenParity, {u"偶数", u"ぐうすう", u"EVEN", u"even", u"ＥＶＥＮ", u"ｅｖｅｎ"}},
        {QSerialPort::MarkParity, {u"マーク", u"まーく", u"MARK", u"mark", u"ＭＡＲＫ", u"ｍａｒｋ"}},
        {QSerialPort::SpaceParity, {u"スペース", u"すぺーす", u"SPACE", u"space", u"ＳＰＡＣＥ", u"ｓｐａｃｅ"}},
    };
    for (const Row &row : rows) {
        for (const char16_t *word : row.words) {
            if (word && text == QStringView(word))
                return row.parity;
        }
    }
    return std::nullopt;
}

QSerialPort::FlowControl Trs232c::FlowControlFor(int flowflag)
{
    if (flowflag & (dfOutxCtsFlow | dfRtsControl_b1))
        return QSerialPort::HardwareControl;
    if (flowflag & (dfOutX | dfInX))
        return QSerialPort::SoftwareControl;
    return QSerialPort::NoFlowControl;
}

void Trs232c::ApplySettings()
{
    m_serial.setBaudRate(bps);
    const int bits = charbit & 0xff;
    if (bits >= 5 && bits <= 8)
        m_serial.setDataBits(static_cast<QSerialPort::DataBits>(bits));
    if (const auto stop = StopBitsFor(stopbit))
        m_serial.setStopBits(*stop);
    if (const auto parity = ParityFor(paritymode))
        m_serial.setParity(*parity);
    m_serial.setFlowControl(FlowControlFor(flowflag));
    m_serial.setReadBufferSize(rxbuffsize);
}

Trs232c::OpenProblem Trs232c::ProblemFor(QSerialPort::SerialPortError error) const
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenProblem::NotFound;
    case QSerialPort::PermissionError:
        // Qt reports both a device held by another program (lock file,
        // exclusive mode) and a device we may not open as a permission error;
        // only the file's own access rights tell them apart.
#ifdef Q_OS_UNIX
        if (::access(QFile::encodeName(m_device).constData(), W_OK) != 0)
            return OpenProblem::NoPermission;
#endif
        return OpenProblem::InUse;
    case QSerialPort::OpenError:
        return OpenProblem::AlreadyOpen;
    default:
        return OpenProblem::Unusable;
    }
}

bool Trs232c::Open()
{
    if (m_open)
        return false;
    m_device = DeviceForPortName(portname);
    if (m_device.isEmpty()) {
        m_problem = OpenProblem::NotFound;
        return false;
    }
    if (m_serial.isOpen())
        m_serial.close();
    // Qt locks the port by the name it is given. A link (set.ini may name
    // /dev/serial/by-id/..., or any path) must lock the device it leads to,
    // or a program that holds that device under its own name goes unseen and
    // both write into one lamp; the link's own name is locked as well, for a
    // program that holds the device by the link.
    const QString real = QFileInfo(m_device).canonicalFilePath();
    if (!LockAlias(real)) {
        m_problem = OpenProblem::InUse;
        return false;
    }
    m_serial.setPortName(real.isEmpty() ? m_device : real);
    ApplySettings();
    if (!m_serial.open(QIODevice::WriteOnly)) {
        m_problem = ProblemFor(m_serial.error());
        m_serial.clearError();
        m_aliasLock.reset();
        return false;
    }
    // Start from empty queues, as a fresh line to the lamp.
    m_serial.clear(QSerialPort::AllDirections);
    m_serial.clearError();
    m_problem = OpenProblem::None;
    m_writeFailed = false;
    m_deviceLost = false;
    m_open = true;
    if (OnOpen)
        OnOpen(this);
    return true;
}

bool Trs232c::Close()
{
    if (!m_open)
        return false;
    if (OnClose)
        OnClose(this);
    m_open = false;
    // Closing drops whatever Qt still holds unwritten, which is the abort of
    // pending transfers; bytes already with the driver still go out.
    if (m_serial.isOpen())
        m_serial.close();
    m_serial.clearError();
    m_aliasLock.reset();
    return true;
}

bool Trs232c::LockAlias(const QString &real)
{
    m_aliasLock.reset();
#ifdef Q_OS_UNIX
    if (real.isEmpty() || real == m_device)
        return true;
    const QString path = SerialLockPath(m_device);
    if (path.isEmpty())
        return true; // no lock folder at all: the device's own lock still holds
    auto lock = std::make_unique<QLockFile>(path);
    if (!lock->tryLock())
        return lock->error() != QLockFile::LockFailedError;
    m_aliasLock = std::move(lock);
#else
    Q_UNUSED(real);
#endif
    return true;
}

bool Trs232c::WriteBuffer(const char *bytes, qint64 count)
{
    if (!m_open || m_deviceLost)
        return false;
    if (count <= 0)
        return true;
    if (m_serial.write(bytes, count) != count) {
        m_writeFailed = true;
        return false;
    }
    QDeadlineTimer deadline(txtimeout);
    while (m_open && m_serial.bytesToWrite() > 0) {
        if (!m_serial.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            m_writeFailed = true;
            // A write that hangs is given up; the bytes are not sent later.
            if (m_open)
                m_serial.clear(QSerialPort::Output);
            return false;
        }
    }
    if (!m_open) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

bool Trs232c::WriteByte(quint8 b)
{
    m_byte = static_cast<char>(b);
    return WriteBuffer(&m_byte, 1);
}

bool Trs232c::SetRTS(bool on)
{
    if (!m_open)
        return false;
    // A pseudo-terminal has no control lines; that is not a fault of the port.
    const bool done = m_serial.setRequestToSend(on);
    m_serial.clearError();
    return done;
}

bool Trs232c::SetDTR(bool on)
{
    if (!m_open)
        return false;
    const bool done = m_serial.setDataTerminalReady(on);
    m_serial.clearError();
    return done;
}

void Trs232c::OnDeviceError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !m_open)
        return;
    m_writeFailed = true;
    m_deviceLost = true;
    // Not from inside Qt's own error report: close once it has returned.
    QTimer::singleShot(0, this, [this] {
        if (m_open && m_deviceLost)
            Close();
    });
}
