#include "Cp932.h"
#include "StationHost.h"
#include "StationLinks.h"

#include <QMetaEnum>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
// A station on loopback that takes links and keeps what arrives on them.
struct TPeer {
    QTcpServer server;
    QList<QTcpSocket *> accepted;
    QByteArray arrived;

    TPeer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                accepted.append(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { arrived += socket->readAll(); });
            }
        });
    }
};

// One action on link 1 and the reports it leads to, besides the driver's
// own words for a refused call ("not connected", "not sent").
struct TStep {
    QString action;
    QStringList reports;
};
using TScript = QList<TStep>;

const QString LongText = QStringLiteral("あいうえお,223;").repeated(20000);
} // namespace

Q_DECLARE_METATYPE(TScript)

class TestStationLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linksReportWhatHappens_data()
    {
        QTest::addColumn<TScript>("script");
        QTest::addColumn<QString>("arrived");   // at the first station
        QTest::addColumn<int>("accepted");      // links the first station took

        const TStep connect{QStringLiteral("connect"), {QStringLiteral("connecting"), QStringLiteral("connected")}};
        const TStep sendExecute{QStringLiteral("send 06"), {QStringLiteral("sent")}};
        QTest::newRow("a listening port") << TScript{connect} << QString() << 1;
        QTest::newRow("a refused port gives the reason")
            << TScript{{QStringLiteral("connect nowhere"), {QStringLiteral("connecting"), QStringLiteral("failed ConnectionRefusedError")}}}
            << QString() << 0;
        QTest::newRow("reconnect after the peer closes")
            << TScript{connect, {QStringLiteral("peer closes"), {QStringLiteral("closed")}}, connect, sendExecute} << "06" << 2;
        QTest::newRow("asking again keeps the open link") << TScript{connect, {QStringLiteral("connect"), {}}, sendExecute} << "06" << 1;
        QTest::newRow("send arrives whole") << TScript{connect, {QStringLiteral("send ") + LongText, {QStringLiteral("sent")}}} << LongText << 1;
        QTest::newRow("a link not open sends nothing")
            << TScript{{QStringLiteral("send 06"), {QStringLiteral("not sent")}},
                       {QStringLiteral("connect nowhere"), {QStringLiteral("connecting"), QStringLiteral("failed ConnectionRefusedError")}},
                       {QStringLiteral("send 06"), {QStringLiteral("not sent")}}}
            << QString() << 0;
        QTest::newRow("closing an open link reports it")
            << TScript{connect, {QStringLiteral("close"), {QStringLiteral("closed")}}, {QStringLiteral("send 06"), {QStringLiteral("not sent")}}}
            << QString() << 1;
        QTest::newRow("a bad address keeps the link there is")
            << TScript{connect, {QStringLiteral("connect 192.168.."), {QStringLiteral("not connected")}}, sendExecute} << "06" << 1;
        QTest::newRow("another station replaces the link without a closing report")
            << TScript{connect, {QStringLiteral("connect second"), {QStringLiteral("connecting"), QStringLiteral("connected")}}, sendExecute}
            << QString() << 1;
    }
    void linksReportWhatHappens()
    {
        QFETCH(TScript, script);
        QFETCH(QString, arrived);
        QFETCH(int, accepted);
        TPeer first;
        TPeer second;
        TStationLinks links(first.server.serverPort(), nullptr);
        QStringList reports;
        connect(&links, &TStationLinks::Connecting, this, [&reports] { reports << QStringLiteral("connecting"); });
        connect(&links, &TStationLinks::Connected, this, [&reports] { reports << QStringLiteral("connected"); });
        connect(&links, &TStationLinks::Closed, this, [&reports] { reports << QStringLiteral("closed"); });
        connect(&links, &TStationLinks::Sent, this, [&reports] { reports << QStringLiteral("sent"); });
        connect(&links, &TStationLinks::Failed, this, [&reports](int, QAbstractSocket::SocketError reason) {
            reports << QStringLiteral("failed ") + QString::fromLatin1(QMetaEnum::fromType<QAbstractSocket::SocketError>().valueToKey(reason));
        });
        const quint16 nowhere = FreeLoopbackPort();
        QStringList expected;
        for (const TStep &step : script) {
            const QString &action = step.action;
            if (action == QLatin1String("peer closes")) {
                QTRY_VERIFY(!first.accepted.isEmpty());
                first.accepted.last()->disconnectFromHost();
            } else if (action == QLatin1String("close")) {
                links.Close(1);
            } else if (action.startsWith(QLatin1String("send "))) {
                if (!links.Send(1, action.mid(5)))
                    reports << QStringLiteral("not sent");
            } else {
                const QString where = action.mid(8);
                links.SetStationPort(1, where == QLatin1String("nowhere") ? nowhere
                                        : where == QLatin1String("second") ? second.server.serverPort()
                                                                            : first.server.serverPort());
                if (!links.Connect(1, where.startsWith(QLatin1String("192")) ? where : QStringLiteral("127.0.0.1")))
                    reports << QStringLiteral("not connected");
            }
            expected += step.reports;
            QTRY_COMPARE_WITH_TIMEOUT(reports, expected, 10000);
        }
        QTRY_COMPARE(first.arrived, Cp932::Encode(arrived));
        QCOMPARE(first.accepted.size(), accepted);
    }
};

QTEST_GUILESS_MAIN(TestStationLinks)
#include "test_station_links.moc"
