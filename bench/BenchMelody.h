#pragma once

#include <QByteArray>
#include <QStringList>

// The light-and-sound program both transfer benchmarks send: 80 notes and 14
// colours, as the lists a lesson hands over and as the bytes the lamp gets.
struct TBenchMelody {
    QStringList sounds, lights;
    QByteArray soundBytes, lightBytes;

    TBenchMelody()
    {
        for (int i = 0; i < 80; ++i) {
            sounds.append(QString::number(16 + i % 45));
            soundBytes.append(static_cast<char>(16 + i % 45));
        }
        for (int i = 0; i < 14; ++i) {
            lights.append(QString::number(160 + i % 8));
            lightBytes.append(static_cast<char>(160 + i % 8));
        }
    }
};
