// A teacher's station and a class on loopback. The class runs in a second
// process (one thread for all its stations, which is harder than one
// computer each); the teacher's process shows the teacher's view and runs a
// 100 ms timer whose lateness tells how responsive the window stays.
//
// Usage: bench_teacher [stations=40] [rounds=5]
// Prints per round: the time until the list holds every station, until a
// STEP3 program has reached all, and until a collection has brought every
// station's three records; and the worst lateness of the timer.
#include "ClassRecord.h"
#include "ClassRoster.h"
#include "ClassStation.h"
#include "FreeClassPort.h"
#include "NetworkSettings.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "Step7Record.h"
#include "TeacherDesk.h"
#include "TeacherWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
QHostAddress Loopback(int host)
{
    return QHostAddress((127u << 24) | (7u << 16) | static_cast<quint32>(host));
}

QList<QByteArray> Records(int station)
{
    TStep3Record step3;
    step3.kinds[0] = 159 + 8 * (station % 7);
    step3.itemIndexes[0] = station % 6;
    TStep7Record step7;
    step7.noteText = QString(79, QLatin1Char('?'));
    return {ClassRecord::Bytes(Step3RecordLines(step3)),
            ClassRecord::Bytes(Step5RecordLines({{"red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"},
                                                 QStringLiteral("red %1\r\nloop 3\r\n").arg(station % 6)})),
            ClassRecord::Bytes(Step7RecordLines(step7))};
}

// The class: `count` stations on 127.7.0.2 onwards, all taking everything.
int RunClass(int count, quint16 port)
{
    std::vector<std::unique_ptr<TClassStation>> stations;
    for (int i = 0; i < count; ++i) {
        auto station = std::make_unique<TClassStation>(nullptr);
        QStringList settings(NetworkSettingsIndex::EntryCount, QString());
        settings[NetworkSettingsIndex::ReceiveMode] = QStringLiteral("1");
        settings[NetworkSettingsIndex::OwnName] = QStringLiteral("pupil%1").arg(i + 1);
        settings[NetworkSettingsIndex::ClassCode] = QStringLiteral("3A");
        const QList<QByteArray> records = Records(i);
        station->SetPort(port);
        station->SetAddress(Loopback(i + 2));
        station->SetSettings([settings] { return settings; });
        station->SetPage([] { return 2; });
        station->SetRecords([records] { return records; });
        if (!station->Open())
            std::fprintf(stderr, "station %d: %s\n", i + 1, qPrintable(station->ErrorText()));
        stations.push_back(std::move(station));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// Waits in the event loop until `done` or 30 s; the milliseconds it took, -1 on time-out.
qint64 Until(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done() ? clock.elapsed() : -1;
}

struct TLateness {
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 worst = 0;
    void Tick()
    {
        const qint64 now = clock.elapsed();
        if (last >= 0)
            worst = std::max(worst, now - last - 100);
        last = now;
    }
};
} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 4 && QByteArray(argv[1]) == "--class") {
        QCoreApplication app(argc, argv);
        return RunClass(QByteArray(argv[2]).toInt(), static_cast<quint16>(QByteArray(argv[3]).toInt()));
    }
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 40;
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 5;
    const quint16 port = FreeClassPort(Loopback(2));

    QProcess pupils;
    pupils.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pupils.start(QCoreApplication::applicationFilePath(), {"--class", QString::number(count), QString::number(port)});
    if (!pupils.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the class did not start\n");
        return 1;
    }

    QTemporaryDir work;
    TTeacherDesk desk(work.path(), nullptr);
    desk.SetPort(port);
    desk.SetStationAddress(Loopback(1));
    TTeacherWindow window(desk);
    window.SetClassCode(QStringLiteral("3A"));
    window.show();
    TLateness lateness;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(100);
    QObject::connect(&probe, &QTimer::timeout, [&lateness] { lateness.Tick(); });
    lateness.clock.start();
    probe.start();

    const QByteArray program = Records(99).at(0);
    std::printf("stations %d, rounds %d\n", count, rounds);
    for (int round = 1; round <= rounds; ++round) {
        lateness.worst = 0;
        desk.Refresh(round % 2 ? QStringLiteral("3a") : QStringLiteral("3b"));  // a new class code empties the list
        desk.Refresh(QStringLiteral("3A"));
        const qint64 list = Until([&] { return desk.Roster().Rows().size() >= count; });
        int reached = -1;
        QObject::connect(&desk, &TTeacherDesk::SendFinished, &desk, [&reached](int r, int) { reached = r; }, Qt::SingleShotConnection);
        desk.SendToAll(QStringLiteral("STEP3"), program);
        const qint64 send = Until([&] { return reached >= 0; });
        int files = -1;
        QObject::connect(&desk, &TTeacherDesk::CollectFinished, &desk, [&files](int, int f) { files = f; }, Qt::SingleShotConnection);
        desk.Collect();
        const qint64 collect = Until([&] { return files >= 0; });
        // The timer runs on a little longer, so a late tick after the last step counts.
        QElapsedTimer after;
        after.start();
        Until([&after] { return after.elapsed() >= 300; });
        std::printf("round %d: list %lld ms (%lld listed), send %lld ms (%d reached), collect %lld ms (%d files), "
                    "100 ms timer late by at most %lld ms\n",
                    round, static_cast<long long>(list), static_cast<long long>(desk.Roster().Rows().size()),
                    static_cast<long long>(send), reached, static_cast<long long>(collect), files,
                    static_cast<long long>(lateness.worst));
        std::fflush(stdout);
    }
    pupils.kill();
    pupils.waitForFinished();
    return 0;
}
