// A teacher's desk and four stations on loopback addresses, over real
// sockets: the class list shows the stations of the class code with their
// receive mode; a program reaches only those that take it; a collection
// brings their records byte for byte; a station asked anything it must not
// take closes the connection without a word.
#include "ClassMessage.h"
#include "ClassRecord.h"
#include "ClassRoster.h"
#include "ClassStation.h"
#include "FreeClassPort.h"
#include "NetworkSettings.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "TeacherDesk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
constexpr int Deadline = 60000;

QHostAddress Loopback(int host)
{
    return QHostAddress((127u << 24) | static_cast<quint32>(host));
}

QByteArray Step3Bytes(int kind, int item)
{
    TStep3Record record;
    record.kinds[0] = kind;
    record.itemIndexes[0] = item;
    return ClassRecord::Bytes(Step3RecordLines(record));
}

struct TPupil {
    QStringList settings = QStringList(NetworkSettingsIndex::EntryCount, QString());
    QList<QByteArray> records;
    TClassStation station{nullptr};
    QList<QStringList> arrived;
    int collected = 0;

    TPupil(int host, quint16 port, const QString &name, const QString &code, int mode)
    {
        settings[NetworkSettingsIndex::ReceiveMode] = QString::number(mode);
        settings[NetworkSettingsIndex::OwnName] = name;
        settings[NetworkSettingsIndex::ClassCode] = code;
        records = {Step3Bytes(159 + 8 * host, host % 6),
                   ClassRecord::Bytes(Step5RecordLines({{"red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"},
                                                        QStringLiteral("red %1\r\n").arg(host)}))};
        station.SetPort(port);
        station.SetAddress(Loopback(host));
        station.SetSettings([this] { return settings; });
        station.SetPage([host] { return host; });
        station.SetRecords([this] { return records; });
        QObject::connect(&station, &TClassStation::ProgramArrived, &station, [this](const QStringList &lines) { arrived.append(lines); });
        QObject::connect(&station, &TClassStation::WorkCollected, &station, [this] { ++collected; });
        QVERIFY(station.Open());
    }
};

// Sends `bytes` to a station as a raw client; what it answered before closing.
// The station runs in this thread: the client waits in the event loop.
QByteArray Exchange(const QHostAddress &to, quint16 port, const QByteArray &bytes)
{
    QTcpSocket socket;
    socket.bind(Loopback(1));
    QByteArray answer;
    QObject::connect(&socket, &QTcpSocket::connected, &socket, [&socket, &bytes] { socket.write(bytes); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&socket, &answer] { answer += socket.readAll(); });
    socket.connectToHost(to, port);
    QElapsedTimer waited;
    waited.start();
    while (socket.state() != QAbstractSocket::UnconnectedState && waited.elapsed() < Deadline)
        QTest::qWait(10);
    return answer + socket.readAll();
}
} // namespace

class TestClassExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ClassListSendAndCollect();
    void StationRefusesWhatItMustNotTake();
};

void TestClassExchange::ClassListSendAndCollect()
{
    const quint16 port = FreeClassPort(Loopback(2));
    TPupil takesAll(2, port, QStringLiteral("たろう"), QStringLiteral("3A"), 1);
    TPupil takesRegistered(3, port, QStringLiteral("はなこ"), QStringLiteral("3A"), 2);
    takesRegistered.settings[NetworkSettingsIndex::Address(4)] = Loopback(1).toString();
    TPupil takesNone(4, port, QStringLiteral("じろう"), QStringLiteral("3A"), 3);
    TPupil otherClass(5, port, QStringLiteral("よそ"), QStringLiteral("3B"), 1);

    QTemporaryDir work;
    TTeacherDesk desk(work.path(), nullptr);
    desk.SetPort(port);
    desk.SetStationAddress(Loopback(1));
    desk.Roster().SetTargets({Loopback(2), Loopback(3), Loopback(4), Loopback(5)});
    QVERIFY(desk.Refresh(QStringLiteral("3A")));
    QTRY_VERIFY_WITH_TIMEOUT(desk.Roster().Rows().size() >= 3, Deadline);
    QStringList rows;
    for (const TClassRow &row : desk.Roster().Rows())
        rows.append(QStringLiteral("%1 %2 %3 %4").arg(row.name, row.address).arg(row.receiveMode).arg(row.page));
    rows.sort();
    QCOMPARE(rows, QStringList({"じろう 127.0.0.4 3 4", "たろう 127.0.0.2 1 2", "はなこ 127.0.0.3 2 3"}));

    QSignalSpy sent(&desk, &TTeacherDesk::SendFinished);
    const QByteArray program = Step3Bytes(207, 3);
    QVERIFY(desk.SendToAll(QStringLiteral("STEP3"), program));
    QVERIFY(!desk.SendToAll(QStringLiteral("STEP3"), program));  // one request at a time
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 1, Deadline);
    QCOMPARE(sent.at(0).at(0).toInt(), 2);
    QCOMPARE(sent.at(0).at(1).toInt(), 0);
    const QStringList lines = ProgramFileText::Decode(program);
    QCOMPARE(takesAll.arrived, QList<QStringList>{lines});
    QCOMPARE(takesRegistered.arrived, QList<QStringList>{lines});
    QVERIFY(takesNone.arrived.isEmpty());
    QVERIFY(otherClass.arrived.isEmpty());

    QSignalSpy collected(&desk, &TTeacherDesk::CollectFinished);
    QVERIFY(desk.Collect());
    QTRY_COMPARE_WITH_TIMEOUT(collected.size(), 1, Deadline);
    QCOMPARE(collected.at(0).at(0).toInt(), 2);
    QCOMPARE(collected.at(0).at(1).toInt(), 4);
    const QDir folder(desk.LastCollectionFolder());
    QCOMPARE(folder.dirName(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 3A"));
    QCOMPARE(folder.entryList(QDir::Files, QDir::Name),
             QStringList({"STEP3_たろう.lk7", "STEP3_はなこ.lk7", "STEP5_たろう.lk7", "STEP5_はなこ.lk7"}));
    for (const auto &[file, bytes] : {std::pair{"STEP3_たろう.lk7", takesAll.records.at(0)}, std::pair{"STEP5_はなこ.lk7", takesRegistered.records.at(1)}}) {
        QFile written(folder.filePath(QString::fromUtf8(file)));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), bytes);
    }
    QCOMPARE(takesAll.collected + takesRegistered.collected + takesNone.collected + otherClass.collected, 2);

    // A station that stops answering keeps its row; a new class code starts a new list.
    QVERIFY(desk.Refresh(QStringLiteral("3B")));
    QTRY_COMPARE_WITH_TIMEOUT(desk.Roster().Rows().size(), 1, Deadline);
    QCOMPARE(desk.Roster().Rows().at(0).name, QStringLiteral("よそ"));
}

void TestClassExchange::StationRefusesWhatItMustNotTake()
{
    const quint16 port = FreeClassPort(Loopback(2));
    TPupil pupil(2, port, QStringLiteral("たろう"), QStringLiteral("3A"), 1);
    TClassMessage program;
    program.kind = TClassMessage::TKind::Program;
    program.classCode = QStringLiteral("3A");
    program.records = {Step3Bytes(159, 1)};

    TClassMessage otherClass = program;
    otherClass.classCode = QStringLiteral("3B");
    TClassMessage notARecord = program;
    notARecord.records = {QByteArray("STEP3\r\n1\r\n")};
    TClassMessage answerAsRequest;
    answerAsRequest.kind = TClassMessage::TKind::Work;
    QByteArray oversized = program.Encode().left(TClassMessage::HeaderBytes);
    oversized[6] = 0x10;
    // Each row: closed without an answer, nothing taken.
    const QList<QByteArray> refused{otherClass.Encode(), notARecord.Encode(), answerAsRequest.Encode(), oversized,
                                    QByteArray("06"), program.Encode() + "x", QByteArray("GET / HTTP/1.0\r\n\r\n")};
    for (const QByteArray &bytes : refused)
        QCOMPARE(Exchange(Loopback(2), port, bytes), QByteArray());
    QVERIFY(pupil.arrived.isEmpty());

    // Still answering after all that.
    TClassMessage taken;
    taken.kind = TClassMessage::TKind::Taken;
    QCOMPARE(Exchange(Loopback(2), port, program.Encode()), taken.Encode());
    QCOMPARE(pupil.arrived.size(), 1);
    pupil.settings[NetworkSettingsIndex::ReceiveMode] = QStringLiteral("3");
    QCOMPARE(Exchange(Loopback(2), port, program.Encode()), QByteArray());
    QCOMPARE(pupil.arrived.size(), 1);
}

QTEST_GUILESS_MAIN(TestClassExchange)
#include "test_class_exchange.moc"
