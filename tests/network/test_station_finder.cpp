#include "FinderAddress.h"
#include "FinderDatagram.h"
#include "StationFinder.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>
#include <algorithm>
#include <memory>
#include <vector>

namespace {
QHostAddress Loopback(int host)
{
    return QHostAddress((127u << 24) | static_cast<quint32>(host));
}

// A port free on every loopback address the test uses.
quint16 FreeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// One station of a class on its own loopback address, as the page runs it.
struct TStation {
    TStationFinder finder{nullptr};
    TFinderIdentity identity;
    QStringList found;  // names, in the order they answered
    QStringList foundAt;  // the same as name@address
    int finished = 0;

    TStation(int host, quint16 port, const QString &name, const QString &code, const QList<QHostAddress> &targets)
    {
        identity = {name, Loopback(host).toString(), code, true};
        finder.SetPort(port);
        finder.SetBindAddress(Loopback(host));
        finder.SetTargets(targets);
        finder.SetIdentity([this] { return identity; });
        // The figures within 2 s are the benchmark's; the test only waits for its answers.
        finder.SetSearchMs(8000);
        QObject::connect(&finder, &TStationFinder::Found, &finder, [this](const TFoundStation &s) {
            found.append(s.name);
            foundAt.append(s.name + QLatin1Char('@') + s.address);
        });
        QObject::connect(&finder, &TStationFinder::SearchFinished, &finder, [this] { ++finished; });
    }
};

struct TClassroom {
    quint16 port = FreeUdpPort();
    QList<QHostAddress> targets;
    std::vector<std::unique_ptr<TStation>> stations;

    // codes[i] is the class code of the station on 127.0.0.(i + 1), named "s<i+1>".
    explicit TClassroom(const QStringList &codes)
    {
        for (int i = 0; i < codes.size(); ++i)
            targets.append(Loopback(i + 1));
        for (int i = 0; i < codes.size(); ++i) {
            stations.push_back(std::make_unique<TStation>(i + 1, port, QStringLiteral("s%1").arg(i + 1), codes.at(i), targets));
            QVERIFY(stations.back()->finder.Open());
        }
    }
    void SearchAll()
    {
        for (auto &s : stations)
            QVERIFY(s->finder.Search(s->identity.classCode));
    }
    // The names a station of `code` should list: the others of its code.
    QStringList Expected(const TStation &asker) const
    {
        QStringList names;
        for (const auto &s : stations) {
            if (s.get() != &asker && s->identity.classCode == asker.identity.classCode)
                names.append(s->identity.name);
        }
        names.sort();
        return names;
    }
    bool AllComplete() const
    {
        for (const auto &s : stations) {
            QStringList got = s->found;
            got.sort();
            if (got != Expected(*s))
                return false;
        }
        return true;
    }
};

QByteArray Question(const QString &code, quint32 id = 7)
{
    TFinderDatagram d;
    d.searchId = id;
    d.classCode = code;
    return d.Encode();
}

QByteArray Answer(const QString &name, const QString &address, quint32 id, const QString &code = {})
{
    TFinderDatagram d;
    d.kind = TFinderDatagram::TKind::Answer;
    d.searchId = id;
    d.classCode = code;
    d.name = name;
    d.address = address;
    return d.Encode();
}
} // namespace

class TestStationFinder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void thirtyStationsEachListTheOtherTwentyNine()
    {
        TClassroom room(QStringList(30, QString()));
        room.SearchAll();
        QTRY_VERIFY_WITH_TIMEOUT(room.AllComplete(), 30000);
    }

    void twoClassesNeverSeeEachOtherAndAnEmptyCodeFindsOnlyEmptyCodes()
    {
        QStringList codes;
        for (int i = 0; i < 12; ++i)
            codes << (i % 2 ? QStringLiteral("3組") : QStringLiteral("4-B"));
        codes << QString() << QString() << QStringLiteral("3組 ");
        TClassroom room(codes);
        room.SearchAll();
        // Absence is checked once every search has ended, so a late wrong answer would count.
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(room.stations.begin(), room.stations.end(), [](const auto &s) { return s->finished == 1; }), 30000);
        for (const auto &s : room.stations) {
            QStringList got = s->found;
            got.sort();
            QCOMPARE(got, room.Expected(*s));
        }
        QCOMPARE(room.stations.back()->found, QStringList());
    }

    void aStationThatReceivesNothingIsNotListedButStillSearches()
    {
        TClassroom room({QString(), QString(), QString()});
        room.stations.at(1)->identity.answering = false;
        room.SearchAll();
        QTRY_COMPARE_WITH_TIMEOUT(room.stations.at(1)->found.size(), 2, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(room.stations.at(0)->finished, 1, 30000);
        QCOMPARE(room.stations.at(0)->found, QStringList{QStringLiteral("s3")});
        QCOMPARE(room.stations.at(2)->found, QStringList{QStringLiteral("s1")});
    }

    void decodeRefusesEverythingEncodeCannotWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = Answer(QStringLiteral("はなこ"), QStringLiteral("127.0.0.9"), 5, QStringLiteral("3A"));
        QVERIFY(TFinderDatagram::Decode(good).has_value());
        QByteArray version = good;
        version[4] = 2;
        QByteArray kind = good;
        kind[5] = 3;
        QByteArray longField = good;
        longField[10] = 120;  // the class code claims more bytes than follow
        QByteArray badUtf8 = Question(QStringLiteral("ab"));
        badUtf8[11] = '\xff';
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other program") << QByteArrayLiteral("M-SEARCH * HTTP/1.1\r\n\r\n");
        QTest::newRow("magic only") << QByteArrayLiteral("LK72");
        QTest::newRow("newer version") << version;
        QTest::newRow("unknown kind") << kind;
        QTest::newRow("field past the end") << longField;
        QTest::newRow("cut short") << good.left(good.size() - 1);
        QTest::newRow("trailing byte") << good + '\0';
        QTest::newRow("over the cap") << good + QByteArray(TFinderDatagram::MaxBytes, 'x');
        QTest::newRow("not UTF-8") << badUtf8;
        QTest::newRow("byte-order mark before the name") << Answer(QChar(0xFEFF) + QStringLiteral("a"), QStringLiteral("127.0.0.9"), 5);
        QTest::newRow("control character in the name") << Answer(QStringLiteral("a\nb"), QStringLiteral("127.0.0.9"), 5);
        QByteArray nine = QByteArrayLiteral("LK72\x01\x01\0\0\0\x07");
        nine += QByteArrayLiteral("\x09" "123456789") + QByteArray(2, '\0');
        QTest::newRow("class code of nine") << nine;
        QTest::newRow("answer without an address") << Answer(QStringLiteral("a"), QString(), 5);
        QTest::newRow("address not dotted IPv4") << Answer(QStringLiteral("a"), QStringLiteral("1.2.3"), 5);
        QTest::newRow("address out of range") << Answer(QStringLiteral("a"), QStringLiteral("127.0.0.256"), 5);
        QTest::newRow("a command in the address") << Answer(QStringLiteral("a"), QStringLiteral("161"), 5);
    }
    void decodeRefusesEverythingEncodeCannotWrite()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!TFinderDatagram::Decode(bytes).has_value());
    }

    void aLongNameIsCutToFitTheCapAtACharacterBoundary()
    {
        TFinderDatagram d;
        d.kind = TFinderDatagram::TKind::Answer;
        d.name = QString(150, QChar(0x3042));  // 450 bytes of UTF-8
        d.address = QStringLiteral("192.168.100.200");
        d.classCode = QStringLiteral("ＡＢＣＤＥＦＧＨ");
        const QByteArray bytes = d.Encode();
        QVERIFY(bytes.size() <= TFinderDatagram::MaxBytes);
        const auto back = TFinderDatagram::Decode(bytes);
        QVERIFY(back.has_value());
        QCOMPARE(back->name, QString(66, QChar(0x3042)));
        QCOMPARE(back->classCode, d.classCode);
        QCOMPARE(back->address, d.address);
    }

    void malformedAndStrayDatagramsGetNoReplyAndListNothing()
    {
        TClassroom room({QStringLiteral("3A")});
        TStation &station = *room.stations.front();
        station.finder.SetTargets({Loopback(250)});   // searching, but not asking itself
        QVERIFY(station.finder.Search(QStringLiteral("3A")));
        QUdpSocket stranger;
        QVERIFY(stranger.bind(Loopback(200), 0));
        const QList<QByteArray> strays{
            QByteArrayLiteral("06"), QByteArrayLiteral("161,223"), QByteArray(2000, 'L'),
            Question(QStringLiteral("3A")).left(12), Question(QStringLiteral("3B")),
            // Answers to nobody's search.
            Answer(QStringLiteral("x"), Loopback(200).toString(), 99, QStringLiteral("3A")),
            Answer(QStringLiteral("y"), Loopback(201).toString(), 0, QStringLiteral("3A")),
        };
        for (const QByteArray &bytes : strays)
            stranger.writeDatagram(bytes, Loopback(1), room.port);
        // The one real question comes last: its answer is the only datagram back.
        stranger.writeDatagram(Question(QStringLiteral("3A"), 42), Loopback(1), room.port);
        QTRY_VERIFY_WITH_TIMEOUT(stranger.hasPendingDatagrams(), 30000);
        const QNetworkDatagram reply = stranger.receiveDatagram();
        const auto answer = TFinderDatagram::Decode(reply.data());
        QVERIFY(answer.has_value());
        QCOMPARE(answer->searchId, quint32(42));
        QCOMPARE(answer->name, QStringLiteral("s1"));
        QCOMPARE(answer->address, QStringLiteral("127.0.0.1"));
        QCOMPARE(station.finder.IgnoredCount(), qint64(strays.size()));
        QVERIFY(!stranger.hasPendingDatagrams());
        QCOMPARE(station.found, QStringList());

        // Receiving nothing: a real question goes unanswered too.
        station.identity.answering = false;
        stranger.writeDatagram(Question(QStringLiteral("3A"), 43), Loopback(1), room.port);
        stranger.writeDatagram(Question(QStringLiteral("3B"), 44), Loopback(1), room.port);
        QTRY_COMPARE_WITH_TIMEOUT(station.finder.IgnoredCount(), qint64(strays.size() + 2), 30000);
        QVERIFY(!stranger.hasPendingDatagrams());
        QCOMPARE(station.finder.AnsweredCount(), qint64(1));
    }

    void aStationIsListedWhereItsAnswerCameFrom()
    {
        TClassroom room({QStringLiteral("3A")});
        TStation &station = *room.stations.front();
        QUdpSocket forger;
        QVERIFY(forger.bind(Loopback(200), room.port));
        station.finder.SetTargets({Loopback(200)});
        QVERIFY(station.finder.Search(QStringLiteral("3A")));
        QTRY_VERIFY_WITH_TIMEOUT(forger.hasPendingDatagrams(), 30000);
        const QNetworkDatagram asked = forger.receiveDatagram();
        const auto question = TFinderDatagram::Decode(asked.data());
        QVERIFY(question.has_value());
        // Answers that name a classmate, the whole network, no computer, a group.
        for (const char *named : {"127.0.0.7", "255.255.255.255", "0.0.0.0", "224.0.0.1"})
            forger.writeDatagram(Answer(QStringLiteral("はなこ"), QString::fromLatin1(named), question->searchId, QStringLiteral("3A")),
                                 asked.senderAddress(), static_cast<quint16>(asked.senderPort()));
        QTRY_COMPARE_WITH_TIMEOUT(station.finished, 1, 30000);
        QCOMPARE(station.foundAt, QStringList{QStringLiteral("はなこ@127.0.0.200")});
    }

    void noAddressOfManyComputersOrOfNoneIsAStation_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("station");
        QTest::newRow("loopback") << "127.0.0.2" << true;
        QTest::newRow("school network") << "192.168.1.20" << true;
        QTest::newRow("mapped into IPv6") << "::ffff:192.168.1.20" << true;
        QTest::newRow("broadcast") << "255.255.255.255" << false;
        QTest::newRow("this computer's subnet broadcast") << "192.168.1.255" << false;
        QTest::newRow("any") << "0.0.0.0" << false;
        QTest::newRow("this network") << "0.1.2.3" << false;
        QTest::newRow("multicast") << "224.0.0.1" << false;
        QTest::newRow("multicast, last") << "239.255.255.250" << false;
        QTest::newRow("reserved") << "240.0.0.1" << false;
        QTest::newRow("IPv6") << "fe80::1" << false;
    }
    void noAddressOfManyComputersOrOfNoneIsAStation()
    {
        QFETCH(QString, address);
        QFETCH(bool, station);
        QCOMPARE(FinderAddress::IsStation(QHostAddress(address), {QHostAddress(QStringLiteral("192.168.1.255"))}), station);
    }

    void answersToOneAddressAreBoundedPerSecond()
    {
        TClassroom room({QStringLiteral("3A")});
        TStation &station = *room.stations.front();
        qint64 now = 5000;
        station.finder.SetClock([&now] { return now; });
        QUdpSocket victim;
        QVERIFY(victim.bind(Loopback(200), 0));
        QUdpSocket classmate;
        QVERIFY(classmate.bind(Loopback(201), 0));
        auto answersTo = [](QUdpSocket &socket) {
            int count = 0;
            while (socket.hasPendingDatagrams()) {
                socket.receiveDatagram();
                ++count;
            }
            return count;
        };
        auto handled = [&station] { return station.finder.AnsweredCount() + station.finder.IgnoredCount(); };
        constexpr int Asked = 40;
        for (int i = 0; i < Asked; ++i)
            victim.writeDatagram(Question(QStringLiteral("3A"), 100 + i), Loopback(1), room.port);
        QTRY_COMPARE_WITH_TIMEOUT(handled(), qint64(Asked), 30000);
        // Another computer asking in the same second is still answered.
        classmate.writeDatagram(Question(QStringLiteral("3A"), 500), Loopback(1), room.port);
        QTRY_COMPARE_WITH_TIMEOUT(handled(), qint64(Asked + 1), 30000);
        // Reading takes the datagrams away, so what was read is added up.
        int toClassmate = 0;
        QTRY_VERIFY_WITH_TIMEOUT((toClassmate += answersTo(classmate)) >= 1, 30000);
        QCOMPARE(toClassmate, 1);
        // Datagrams on loopback arrive before the count that follows their sending is read.
        QCOMPARE(answersTo(victim), TAnswerBudget::PerAddress);
        now += TAnswerBudget::WindowMs;
        victim.writeDatagram(Question(QStringLiteral("3A"), 600), Loopback(1), room.port);
        int toVictim = 0;
        QTRY_VERIFY_WITH_TIMEOUT((toVictim += answersTo(victim)) >= 1, 30000);
        QCOMPARE(toVictim, 1);
    }

    void aLoopbackStationAsksOnlyLoopbackAddresses()
    {
        for (const QHostAddress &target : TStationFinder::NeighbourTargets(Loopback(2)))
            QVERIFY2(target.isLoopback(), qPrintable(target.toString()));
        QCOMPARE(TStationFinder::NeighbourTargets(Loopback(2)).size(), 254);
    }
};

QTEST_GUILESS_MAIN(TestStationFinder)
#include "test_station_finder.moc"
