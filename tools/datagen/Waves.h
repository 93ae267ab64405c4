#pragma once

#include <QString>
#include <QVector>

namespace Waves {

constexpr int kRate = 22050;

// Frequency of key 0 (do) to 12 (high do), equal temperament from C5.
double KeyFrequency(int key);
// Seconds of a note of length 0 (short), 1 (normal), 2 (long).
double LengthSeconds(int length);

// A soft organ-like tone with a gentle attack and release, or silence.
QVector<qint16> Note(double frequency, double seconds);
QVector<qint16> Silence(double seconds);
QVector<qint16> Click();
QVector<qint16> Rising();
QVector<qint16> Chime();
QVector<qint16> Crash(bool low);

bool Write(const QString &path, const QVector<qint16> &samples);

} // namespace Waves
