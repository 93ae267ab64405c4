#include "PtyLamp.h"
#include "WireRecorder.h"

#include <sys/stat.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyLamp::PtyLamp()
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    // The slave stays open here too, so the master never sees a hang-up when
    // the program closes and reopens its side.
    m_device = QString::fromLocal8Bit(name);
    struct stat st{};
    ::fstat(m_slave, &st);
    m_rdev = st.st_rdev;
    Clear(); // an earlier lamp of this test may have had the same device number
    m_reader = std::thread([this] { ReadLoop(); });
}

PtyLamp::~PtyLamp()
{
    m_stop = true;
    if (m_reader.joinable())
        m_reader.join();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

void PtyLamp::ReadLoop()
{
    while (!m_stop) {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, 5) <= 0 || !(fd.revents & POLLIN))
            continue;
        unsigned char buffer[256];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        if (n <= 0)
            continue;
        std::lock_guard lock(m_mutex);
        for (ssize_t i = 0; i < n; ++i)
            m_arrivals.append({buffer[i], now});
    }
}

QList<PtyLamp::Arrival> PtyLamp::Arrivals() const
{
    std::lock_guard lock(m_mutex);
    return m_arrivals;
}

QByteArray PtyLamp::Bytes() const
{
    std::lock_guard lock(m_mutex);
    QByteArray bytes;
    for (const Arrival &a : m_arrivals)
        bytes.append(static_cast<char>(a.byte));
    return bytes;
}

qint64 PtyLamp::SentAt(int i) const
{
    int counted = -m_sentBeforeClear;
    for (const WireRecorder::Write &w : WireRecorder::WritesTo(m_rdev)) {
        counted += int(w.bytes.size());
        if (counted > i)
            return w.nanoseconds;
    }
    return -1;
}

double PtyLamp::GapMs(int i) const
{
    return (SentAt(i) - SentAt(i - 1)) / 1e6;
}

void PtyLamp::Clear()
{
    std::lock_guard lock(m_mutex);
    m_arrivals.clear();
    m_sentBeforeClear = 0;
    for (const WireRecorder::Write &w : WireRecorder::WritesTo(m_rdev))
        m_sentBeforeClear += int(w.bytes.size());
}
