// Transfer benchmark: sends a light program and a light-and-sound program of
// 80 notes with a light list into a pseudo-terminal and reports how close the
// wall time comes to the protocol's own pauses, how much CPU the sender burns
// while it waits, and the largest pause overshoot seen by the receiving end.
//
// Usage: bench_transfer [runs]
#include "BenchMelody.h"
#include "CommandCodes.h"
#include "FakeHost.h"
#include "PtyLamp.h"
#include "Transfer.h"
#include "TransferProgress.h"
#include "TransferRequest.h"
#include "WireExpect.h"
#include "rs232c.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SilentProgress : public TTransferProgress {
public:
    void BeginTransfer(const QString &) override {}
    void SetPosition(int) override {}
    void EndTransfer() override {}
};

double ThreadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QList<WireByte> ExpectedLightProgram(const QStringList &program)
{
    QList<WireByte> wire{{LampCode::ModeLightProgram, 0}};
    for (const QString &code : program)
        wire.append({static_cast<quint8>(code.toInt()), 40});
    wire.append({LampCode::ProgramEnd, 40 + 200});
    wire.append({LampCode::CloseLightProgram, 200});
    return wire;
}

struct Figures {
    double wallMs = 0;
    double minimumMs = 0;
    double cpuShare = 0;
    double maxOvershootMs = 0;
    double medianOvershootMs = 0;
    bool bytesMatch = false;
};

Figures Measure(FakeHost &host, Trs232c &port, PtyLamp &lamp, const QList<WireByte> &expected)
{
    SilentProgress progress;
    TLampTransfer transfer(host, port, progress);
    lamp.Clear();
    QElapsedTimer wall;
    const double cpuBefore = ThreadCpuSeconds();
    wall.start();
    transfer.Run();
    const qint64 wallNs = wall.nsecsElapsed();
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    QThread::msleep(50); // let the reader take the last byte

    Figures f;
    for (const WireByte &w : expected)
        f.minimumMs += w.pauseBefore;
    f.wallMs = wallNs / 1e6;
    f.cpuShare = cpu / (wallNs / 1e9);
    QByteArray want;
    for (const WireByte &w : expected)
        want.append(static_cast<char>(w.byte));
    f.bytesMatch = lamp.Bytes() == want;
    const int arrived = static_cast<int>(lamp.Arrivals().size());
    std::vector<double> overshoots;
    for (int i = 1; i < std::min(arrived, static_cast<int>(expected.size())); ++i)
        overshoots.push_back(lamp.GapMs(i) - expected.at(i).pauseBefore);
    if (!overshoots.empty()) {
        std::sort(overshoots.begin(), overshoots.end());
        f.maxOvershootMs = overshoots.back();
        f.medianOvershootMs = overshoots.at(overshoots.size() / 2);
    }
    return f;
}

void Print(const char *name, int run, const Figures &f)
{
    std::printf("%-28s run %d: wall %8.1f ms, minimum %8.1f ms, ratio %.4f, CPU/wall %.2f %%, "
                "overshoot median %.2f max %.2f ms, bytes %s\n",
                name, run, f.wallMs, f.minimumMs, f.wallMs / f.minimumMs, 100 * f.cpuShare,
                f.medianOvershootMs, f.maxOvershootMs, f.bytesMatch ? "ok" : "DIFFER");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    PtyLamp lamp;
    if (!lamp.IsValid()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    Trs232c port;
    port.portname = lamp.Device();
    if (!port.Open()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(lamp.Device()));
        return 1;
    }
    FakeHost host;

    QStringList program;
    for (int i = 0; i < LampCode::ProgramLength; ++i)
        program.append(QString::number(160 + (i * 8) % 64));
    const TBenchMelody melody;
    const QStringList &sounds = melody.sounds, &lights = melody.lights;
    const QByteArray &soundBytes = melody.soundBytes, &lightBytes = melody.lightBytes;

    bool allMatch = true;
    for (int run = 1; run <= runs; ++run) {
        TTransferRequest::LightProgram(program).FillHost(host);
        const Figures light = Measure(host, port, lamp, ExpectedLightProgram(program));
        Print("mode 2 light program", run, light);

        TTransferRequest::LightAndSound(sounds, lights).FillHost(host);
        const Figures sound = Measure(host, port, lamp, ExpectedLightAndSound(soundBytes, lightBytes));
        Print("mode 4, 80 notes + lights", run, sound);
        allMatch = allMatch && light.bytesMatch && sound.bytesMatch;
    }
    return allMatch ? 0 : 1;
}
