#include "LampLine.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

TLampLine::TLampLine(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
}

TLampLine::~TLampLine()
{
    m_notifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool TLampLine::OpenPseudoTerminal(QString *error)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_devicePath = QString::fromLocal8Bit(name);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TLampLine::ReadMaster);
    return true;
}

void TLampLine::ReadMaster()
{
    unsigned char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return; // EAGAIN, or the other end was closed for now
        const qint64 at = m_clock.elapsed();
        for (ssize_t i = 0; i < n; ++i)
            Q_EMIT ByteReceived(buffer[i], at);
    }
}

bool TLampLine::OpenDevice(const QString &path, QString *error)
{
    m_serial = std::make_unique<QSerialPort>(path);
    m_serial->setBaudRate(9600);
    m_serial->setDataBits(QSerialPort::Data8);
    m_serial->setParity(QSerialPort::NoParity);
    m_serial->setStopBits(QSerialPort::OneStop);
    m_serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_serial->open(QIODevice::ReadOnly)) {
        *error = m_serial->errorString();
        return false;
    }
    m_devicePath = path;
    connect(m_serial.get(), &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_serial->readAll();
        const qint64 at = m_clock.elapsed();
        for (char b : bytes)
            Q_EMIT ByteReceived(static_cast<unsigned char>(b), at);
    });
    return true;
}
