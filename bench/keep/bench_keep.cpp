// Keeping benchmark: what keeping the pupil's work costs the user-interface
// thread per hand-over, how long a change takes to be on disk, and whether a
// transfer's pauses stay as long with edits going on as without them.
//
// Usage: bench_keep [folder] [runs]
//   folder: where the working folder is made (default: a temporary folder;
//   give one on the disk the pupils use to measure that disk)
#include "BenchMelody.h"
#include "FakeHost.h"
#include "ProgramFileText.h"
#include "PtyLamp.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"
#include "Transfer.h"
#include "TransferProgress.h"
#include "TransferRequest.h"
#include "WireExpect.h"
#include "WorkKeeper.h"
#include "rs232c.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

class SilentProgress : public TTransferProgress {
public:
    void BeginTransfer(const QString &) override {}
    void SetPosition(int) override {}
    void EndTransfer() override {}
};

// The three lessons at the size a busy pupil reaches; `edit` changes them.
struct Lessons {
    TStep3Record step3;
    TStep5Record step5;
    TStep7Record step7;
    int edits = 0;

    Lessons()
    {
        for (int i = 0; i < TStep3Record::SlotCount; ++i) {
            step3.kinds[static_cast<size_t>(i)] = 159 + 8 * (i % 8);
            step3.itemIndexes[static_cast<size_t>(i)] = i % 6;
        }
        step5.words = {"red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"};
        for (int i = 0; i < 15; ++i)
            step5.programText += QStringLiteral("red %1\r\nloop 3\r\n  blue 2\r\njump\r\n").arg(i % 5 + 1);
        step7.noteText = QString(79, QLatin1Char('c'));
        step7.ledOn = true;
        step7.colours.fill(16);
    }
    void Edit()
    {
        ++edits;
        step3.itemIndexes[static_cast<size_t>(edits % 20)] = edits % 6;
        step5.programText += QStringLiteral("w");
        step7.colours[static_cast<size_t>(edits % 14)] = edits % 2 ? 2 : 16;
    }
};

double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

struct Stats {
    double median = 0, p99 = 0, max = 0;
};

Stats Of(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return {};
    return {values[values.size() / 2], values[values.size() * 99 / 100], values.back()};
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AddLessons(TWorkKeeper &keeper, const Lessons &lessons)
{
    keeper.AddLesson(Step3LessonName, [&lessons] { return Step3RecordLines(lessons.step3); });
    keeper.AddLesson(Step5LessonName, [&lessons] { return Step5RecordLines(lessons.step5); });
    keeper.AddLesson(Step7LessonName, [&lessons] { return Step7RecordLines(lessons.step7); });
}

// UI-thread time of one hand-over of all three changed records.
void MeasureHandOver(const QString &folder, int count)
{
    Lessons lessons;
    TWorkKeeper keeper(folder);
    keeper.Start();
    AddLessons(keeper, lessons);
    std::vector<double> us, cpuUs;
    for (int i = 0; i < count; ++i) {
        lessons.Edit();
        QElapsedTimer t;
        const double cpuBefore = ThreadCpuMicroseconds();
        t.start();
        for (const QString &name : {Step3LessonName, Step5LessonName, Step7LessonName})
            keeper.Changed(name);
        keeper.WriteDue();
        us.push_back(t.nsecsElapsed() / 1e3);
        cpuUs.push_back(ThreadCpuMicroseconds() - cpuBefore);
        keeper.Flush();  // not timed: the writer thread's part
    }
    const Stats s = Of(us);
    const Stats cpu = Of(cpuUs);
    std::printf("hand-over of 3 records (STEP5: %lld lines) on the UI thread (%d): wall median %.1f us, p99 %.1f us, "
                "max %.1f us; thread CPU median %.1f us, p99 %.1f us, max %.1f us\n",
                static_cast<long long>(Step5RecordLines(lessons.step5).size()), count, s.median, s.p99, s.max,
                cpu.median, cpu.p99, cpu.max);
}

// From a change to its record on disk, through the keeper's own timer.
void MeasureDelay(const QString &folder, int count)
{
    Lessons lessons;
    TWorkKeeper keeper(folder);
    keeper.Start();
    AddLessons(keeper, lessons);
    const QString path = keeper.RecordPath(Step5LessonName);
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        lessons.Edit();
        const QByteArray want = ProgramFileText::Encode(Step5RecordLines(lessons.step5));
        QElapsedTimer t;
        t.start();
        keeper.Changed(Step5LessonName);
        while (FileBytes(path) != want) {
            QEventLoop loop;
            QTimer::singleShot(1, &loop, &QEventLoop::quit);
            loop.exec();
        }
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    const Stats s = Of(ms);
    std::printf("change to record on disk (%d): median %.1f ms, max %.1f ms (limit 2000 ms)\n", count, s.median,
                s.max);
}

struct Pauses {
    double wallMs = 0, medianOvershoot = 0, maxOvershoot = 0;
    bool bytesMatch = false;
    int edits = 0;
};

Pauses MeasureTransfer(FakeHost &host, Trs232c &port, PtyLamp &lamp, const QList<WireByte> &expected,
                       TWorkKeeper *keeper, Lessons &lessons)
{
    SilentProgress progress;
    TLampTransfer transfer(host, port, progress);
    QTimer typing;  // a pupil typing on: one change every 30 ms
    typing.setInterval(30);
    const int editsBefore = lessons.edits;
    QObject::connect(&typing, &QTimer::timeout, [keeper, &lessons] {
        lessons.Edit();
        for (const QString &name : {Step3LessonName, Step5LessonName, Step7LessonName})
            keeper->Changed(name);
    });
    if (keeper)
        typing.start();
    lamp.Clear();
    QElapsedTimer wall;
    wall.start();
    transfer.Run();
    Pauses p;
    p.wallMs = wall.nsecsElapsed() / 1e6;
    typing.stop();
    p.edits = lessons.edits - editsBefore;
    QThread::msleep(50);
    QByteArray want;
    for (const WireByte &w : expected)
        want.append(static_cast<char>(w.byte));
    p.bytesMatch = lamp.Bytes() == want;
    std::vector<double> overshoots;
    const int arrived = static_cast<int>(lamp.Arrivals().size());
    for (int i = 1; i < std::min(arrived, static_cast<int>(expected.size())); ++i)
        overshoots.push_back(lamp.GapMs(i) - expected.at(i).pauseBefore);
    const Stats s = Of(overshoots);
    p.medianOvershoot = s.median;
    p.maxOvershoot = s.max;
    return p;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const QString folder = base + QStringLiteral("/LK-72Temp-bench");

    MeasureHandOver(folder, 500);
    MeasureDelay(folder, 50);

    PtyLamp lamp;
    Trs232c port;
    port.portname = lamp.Device();
    if (!lamp.IsValid() || !port.Open()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    FakeHost host;
    const TBenchMelody melody;
    const QStringList &sounds = melody.sounds, &lights = melody.lights;
    const QByteArray &soundBytes = melody.soundBytes, &lightBytes = melody.lightBytes;
    const QList<WireByte> expected = ExpectedLightAndSound(soundBytes, lightBytes);

    Lessons lessons;
    TWorkKeeper keeper(folder);
    keeper.Start();
    AddLessons(keeper, lessons);
    bool allMatch = true;
    for (int run = 1; run <= runs; ++run) {
        for (TWorkKeeper *k : {static_cast<TWorkKeeper *>(nullptr), &keeper}) {
            TTransferRequest::LightAndSound(sounds, lights).FillHost(host);
            const Pauses p = MeasureTransfer(host, port, lamp, expected, k, lessons);
            std::printf("mode 4 transfer run %d %-22s: wall %8.1f ms, overshoot median %.2f max %.2f ms, "
                        "%d edits, bytes %s\n",
                        run, k ? "with edits kept" : "without edits", p.wallMs, p.medianOvershoot, p.maxOvershoot,
                        p.edits, p.bytesMatch ? "ok" : "DIFFER");
            allMatch = allMatch && p.bytesMatch;
        }
    }
    return allMatch ? 0 : 1;
}
