#include "PacedWait.h"
#include "StationCommand.h"
#include "StationListener.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <vector>

namespace {
quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct TOpenListener {
    TStationListener listener{FreePort(), nullptr};
    TOpenListener()
    {
        listener.SetListenAddress(QHostAddress::LocalHost);
        listener.Open();
    }
};
} // namespace

class TestNetloadListener : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aPeerThatSendsAndLeavesDuringALampTransferIsHandledWhole()
    {
        TOpenListener open;
        QStringList texts;
        // A lamp transfer waits in a nested event loop while the message is handled.
        connect(&open.listener, &TStationListener::Received, this, [&texts](const QString &, const QString &text) {
            texts.append(text);
            PacedWait(150);
        });
        QSignalSpy closed(&open.listener, &TStationListener::Closed);
        int sent = 0;
        for (const char *command : {"161", "06", "170"}) {
            QTcpSocket peer;
            peer.connectToHost(QHostAddress::LocalHost, open.listener.Port());
            QVERIFY(peer.waitForConnected(5000));
            peer.write(command);
            peer.flush();
            peer.disconnectFromHost();
            ++sent;
            QTRY_COMPARE(texts.size(), sent);
            QTRY_COMPARE(closed.size(), sent);
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("161"), QStringLiteral("06"), QStringLiteral("170")}));
        QTRY_COMPARE(open.listener.ConnectionCount(), 0);
    }

    // Connections beyond a cap are refused at once: the cap of all, and each
    // computer's share, so that one cannot keep the others out.
    void connectionsBeyondTheCapAreRefused_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("perPeer");
        QTest::addColumn<QList<int>>("sources");   // last part of each 127.0.0.x, in connecting order
        QTest::addColumn<QList<bool>>("kept");
        QTest::newRow("cap of all") << 2 << 8 << QList<int>{1, 2, 3} << QList<bool>{true, true, false};
        QTest::newRow("one computer's share") << 8 << 2 << QList<int>{1, 1, 1, 2, 2} << QList<bool>{true, true, false, true, true};
    }
    void connectionsBeyondTheCapAreRefused()
    {
        QFETCH(int, total);
        QFETCH(int, perPeer);
        QFETCH(QList<int>, sources);
        QFETCH(QList<bool>, kept);
        TOpenListener open;
        open.listener.SetMaxConnections(total);
        open.listener.SetMaxConnectionsPerPeer(perPeer);
        QSignalSpy accepted(&open.listener, &TStationListener::Accepted);
        std::vector<std::unique_ptr<QTcpSocket>> peers;
        for (const int host : sources) {
            auto peer = std::make_unique<QTcpSocket>();
            QVERIFY(peer->bind(QHostAddress((127u << 24) | static_cast<quint32>(host)), 0));
            peer->connectToHost(QHostAddress::LocalHost, open.listener.Port());
            QVERIFY(peer->waitForConnected(5000));
            // Each is taken in before the next comes, so the order of refusal is known.
            QTRY_COMPARE(open.listener.ConnectionCount() + open.listener.CappedCount(), qint64(peers.size() + 1));
            peers.push_back(std::move(peer));
        }
        for (size_t i = 0; i < peers.size(); ++i) {
            const auto expected = kept.at(static_cast<qsizetype>(i)) ? QAbstractSocket::ConnectedState : QAbstractSocket::UnconnectedState;
            QTRY_COMPARE(peers.at(i)->state(), expected);
        }
        QCOMPARE(accepted.size(), kept.count(true));
        QCOMPARE(open.listener.ConnectionCount(), kept.count(true));
    }

    // A connection that says nothing is closed; the listener goes on.
    void silentConnectionsAreClosed()
    {
        TOpenListener open;
        open.listener.SetIdleTimeout(200);
        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, open.listener.Port());
        QVERIFY(peer.waitForConnected(5000));
        QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QAbstractSocket::UnconnectedState, 10000);
        QCOMPARE(open.listener.ConnectionCount(), 0);
        QVERIFY(open.listener.IsOpen());
    }

    void nothingOfAnOversizedMessagePassesAndItsSenderIsClosed()
    {
        TOpenListener open;
        open.listener.SetReadCap(1024);
        QStringList texts;
        connect(&open.listener, &TStationListener::Received, this,
                [&texts](const QString &, const QString &text) { texts.append(text); });
        QTcpSocket flood;
        flood.connectToHost(QHostAddress::LocalHost, open.listener.Port());
        QVERIFY(flood.waitForConnected(5000));
        // Every piece of it would read as a twenty-step program.
        flood.write(QByteArray("223,").repeated(256 * 1024));
        QTRY_VERIFY_WITH_TIMEOUT(flood.state() == QAbstractSocket::UnconnectedState, 10000);
        QVERIFY(open.listener.DroppedCount() >= 1);
        for (const QString &text : texts)
            QVERIFY2(!StationCommand::Parse(text), qPrintable(text.left(40)));

        // A well-behaved station is still heard.
        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, open.listener.Port());
        QVERIFY(peer.waitForConnected(5000));
        peer.write("161");
        QTRY_VERIFY(texts.contains(QStringLiteral("161")));
    }
};

QTEST_GUILESS_MAIN(TestNetloadListener)
#include "test_netload_listener.moc"
