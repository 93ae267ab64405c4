#include "Waves.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>
#include <cmath>

namespace Waves {

namespace {

constexpr double kPi = 3.14159265358979323846;

qint16 Clip(double v)
{
    return static_cast<qint16>(std::clamp(v, -1.0, 1.0) * 32000);
}

double Envelope(double t, double seconds, double attack = 0.015, double release = 0.06)
{
    double e = 1.0;
    if (t < attack)
        e = t / attack;
    if (t > seconds - release)
        e = std::min(e, std::max(0.0, (seconds - t) / release));
    return e;
}

} // namespace

double KeyFrequency(int key)
{
    return 523.2511 * std::pow(2.0, key / 12.0);
}

double LengthSeconds(int length)
{
    return length == 0 ? 0.25 : length == 1 ? 0.5 : 1.0;
}

QVector<qint16> Note(double f, double seconds)
{
    const int n = int(seconds * kRate);
    QVector<qint16> out(n);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double decay = std::exp(-t * 2.2);
        const double v = 0.55 * std::sin(2 * kPi * f * t) + 0.18 * std::sin(4 * kPi * f * t) * decay
            + 0.07 * std::sin(6 * kPi * f * t) * decay;
        out[i] = Clip(0.8 * v * Envelope(t, seconds));
    }
    return out;
}

QVector<qint16> Silence(double seconds)
{
    return QVector<qint16>(int(seconds * kRate), 0);
}

QVector<qint16> Click()
{
    const double seconds = 0.06;
    QVector<qint16> out(int(seconds * kRate));
    for (int i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        out[i] = Clip(0.7 * std::sin(2 * kPi * 1800 * t) * std::exp(-t * 70) * Envelope(t, seconds, 0.002, 0.01));
    }
    return out;
}

QVector<qint16> Rising()
{
    const double seconds = 0.45;
    QVector<qint16> out(int(seconds * kRate));
    double phase = 0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        phase += 2 * kPi * (600 + 900 * t / seconds) / kRate;
        out[i] = Clip(0.6 * std::sin(phase) * Envelope(t, seconds));
    }
    return out;
}

QVector<qint16> Chime()
{
    QVector<qint16> out = Note(KeyFrequency(4), 0.18);
    out += Note(KeyFrequency(7), 0.18);
    out += Note(KeyFrequency(12), 0.4);
    return out;
}

QVector<qint16> Crash(bool low)
{
    const double seconds = low ? 0.7 : 0.55;
    QVector<qint16> out(int(seconds * kRate));
    QRandomGenerator noise(low ? 7 : 3);
    double smooth = 0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double white = noise.generateDouble() * 2 - 1;
        smooth += (white - smooth) * (low ? 0.08 : 0.25);
        const double thump = std::sin(2 * kPi * (low ? 70 : 110) * t) * std::exp(-t * 6);
        out[i] = Clip((0.8 * smooth + 0.5 * thump) * std::exp(-t * 4) * Envelope(t, seconds, 0.003, 0.08));
    }
    return out;
}

bool Write(const QString &path, const QVector<qint16> &samples)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const quint32 dataBytes = quint32(samples.size() * 2);
    auto u32 = [&](quint32 v) { v = qToLittleEndian(v); f.write(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](quint16 v) { v = qToLittleEndian(v); f.write(reinterpret_cast<const char *>(&v), 2); };
    f.write("RIFF");
    u32(36 + dataBytes);
    f.write("WAVEfmt ");
    u32(16);
    u16(1);          // PCM
    u16(1);          // mono
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    f.write("data");
    u32(dataBytes);
    for (qint16 s : samples)
        u16(quint16(s));
    return f.error() == QFile::NoError;
}

} // namespace Waves
