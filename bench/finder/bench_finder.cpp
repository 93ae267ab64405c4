// Stations finding each other on loopback: N widget-free finders in one
// process, each on its own address 127.0.0.k, all searching at once as a
// class does when the teacher says "search now". One thread handles every
// station, which is harder than one station per computer.
//
// Usage: bench_finder [stations=30] [rounds=5]
// Prints, per round, when the last station had listed all the others of its
// class, how many did so within one search (2 s), and how many stations of
// the other class were listed (with two class codes).
#include "StationFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
struct TBenchStation {
    std::unique_ptr<TStationFinder> finder = std::make_unique<TStationFinder>(nullptr);
    TFinderIdentity identity;
    QStringList found;
    QList<qint64> foundAtMs;
    qint64 completeAtMs = -1;
    bool finished = false;
};

struct TRound {
    qint64 lastCompleteMs = -1;
    qint64 medianCompleteMs = -1;
    int completeInSearch = 0;
    int otherClassListed = 0;
};

TRound RunRound(int count, bool twoClasses, quint16 port)
{
    std::vector<std::unique_ptr<TBenchStation>> stations;
    auto codeOf = [twoClasses](int i) { return twoClasses ? QString(i % 2 ? QStringLiteral("3B") : QStringLiteral("3A")) : QString(); };
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        auto s = std::make_unique<TBenchStation>();
        const QHostAddress address((127u << 24) | static_cast<quint32>(i + 1));
        s->identity = {QStringLiteral("s%1").arg(i + 1), address.toString(), codeOf(i), true};
        TBenchStation *raw = s.get();
        raw->finder->SetPort(port);
        raw->finder->SetBindAddress(address);  // asks the loopback neighbours, as the program does
        raw->finder->SetIdentity([raw] { return raw->identity; });
        QObject::connect(raw->finder.get(), &TStationFinder::Found, raw->finder.get(),
                         [raw, &clock](const TFoundStation &f) {
                             raw->found.append(f.name);
                             raw->foundAtMs.append(clock.elapsed());
                         });
        QObject::connect(raw->finder.get(), &TStationFinder::SearchFinished, raw->finder.get(), [raw] { raw->finished = true; });
        if (!raw->finder->Open())
            std::fprintf(stderr, "station %d: %s\n", i + 1, qPrintable(raw->finder->ErrorText()));
        stations.push_back(std::move(s));
    }
    auto sameClass = [&](int i) {
        int n = 0;
        for (int j = 0; j < count; ++j)
            n += (j != i && codeOf(j) == codeOf(i));
        return n;
    };
    clock.start();
    for (auto &s : stations)
        s->finder->Search(s->identity.classCode);
    QEventLoop loop;
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (std::all_of(stations.begin(), stations.end(), [](const auto &s) { return s->finished; }))
            loop.quit();
    });
    done.start(10);
    loop.exec();

    TRound round;
    std::vector<qint64> times;
    for (int i = 0; i < count; ++i) {
        TBenchStation &s = *stations[static_cast<size_t>(i)];
        const int expected = sameClass(i);
        if (expected == 0)
            s.completeAtMs = 0;
        else if (s.foundAtMs.size() >= expected)
            s.completeAtMs = s.foundAtMs.at(expected - 1);
        if (s.completeAtMs >= 0 && s.found.size() == expected)
            ++round.completeInSearch;
        times.push_back(s.completeAtMs < 0 ? 1000000 : s.completeAtMs);
        for (const QString &name : s.found) {
            const int j = name.mid(1).toInt() - 1;
            round.otherClassListed += codeOf(j) != codeOf(i);
        }
    }
    std::sort(times.begin(), times.end());
    round.lastCompleteMs = times.back();
    round.medianCompleteMs = times[times.size() / 2];
    return round;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::clamp(atoi(argv[1]), 2, 254) : 30;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const quint16 port = probe.localPort();
    probe.close();
    for (const bool twoClasses : {false, true}) {
        for (int r = 1; r <= rounds; ++r) {
            const TRound round = RunRound(count, twoClasses, port);
            std::printf("%s round %d: %d stations, listed all of their class within one search: %d/%d, "
                        "median %lld ms, last %lld ms, other class listed: %d\n",
                        twoClasses ? "two codes" : "one code ", r, count, round.completeInSearch, count,
                        static_cast<long long>(round.medianCompleteMs), static_cast<long long>(round.lastCompleteMs),
                        round.otherClassListed);
            std::fflush(stdout);
        }
    }
    return 0;
}
