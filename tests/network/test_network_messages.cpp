#include "ChatMessage.h"
#include "StationHost.h"
#include "NetworkSettings.h"
#include "StationCommand.h"
#include "StationPalette.h"

#include <QTest>

using namespace NetworkSettingsIndex;

namespace {
QStringList Settings()
{
    QStringList s(EntryCount, QString());
    s[Address(1)] = QStringLiteral("192.168.0.5");
    s[Name(1)] = QStringLiteral("たろう");
    s[Address(3)] = QStringLiteral("192.168.0.7");  // registered without a name
    s[Address(4)] = QStringLiteral("192.168.0.5");  // a later duplicate never wins
    s[Name(4)] = QStringLiteral("じろう");
    return s;
}
} // namespace

class TestNetworkMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodesTheThreeCommands()
    {
        QCOMPARE(StationCommand::EncodeExecute(), QStringLiteral("06"));
        QCOMPARE(StationCommand::EncodeDirect(162), QStringLiteral("162"));
        const QString program = StationCommand::EncodeProgram(162);
        QCOMPARE(program, QStringLiteral("162") + QStringLiteral(",223").repeated(19));
        const auto parsed = StationCommand::Parse(program);
        QVERIFY(parsed && parsed->kind == TStationCommand::Kind::Program);
        QCOMPARE(parsed->program.size(), 20);
        QCOMPARE(parsed->program.first(), QStringLiteral("162"));
    }

    void parsesOrIgnores_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");   // -1 ignored, 0 execute, 1 direct, 2 program
        QTest::addColumn<int>("code");
        QTest::newRow("execute") << "06" << 0 << 0;
        QTest::newRow("direct") << "161" << 1 << 161;
        QTest::newRow("six is a direct code, not execute") << "6" << 1 << 6;
        QTest::newRow("program of 21 fields uses the first 20") << (QStringLiteral("1") + QStringLiteral(",2").repeated(20)) << 2 << 0;
        QTest::newRow("empty") << "" << -1 << 0;
        QTest::newRow("words") << "hello" << -1 << 0;
        QTest::newRow("negative") << "-1" << -1 << 0;
        QTest::newRow("over a byte") << "256" << -1 << 0;
        QTest::newRow("space") << "161 " << -1 << 0;
        QTest::newRow("short program") << "160,223,223" << -1 << 0;
        QTest::newRow("non-numeric field") << (QStringLiteral("160") + QStringLiteral(",x").repeated(19)) << -1 << 0;
        QTest::newRow("two messages in one read") << (StationCommand::EncodeProgram(160) + QStringLiteral("06")) << -1 << 0;
    }
    void parsesOrIgnores()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(int, code);
        const auto parsed = StationCommand::Parse(text);
        QCOMPARE(parsed.has_value(), kind >= 0);
        if (!parsed)
            return;
        QCOMPARE(static_cast<int>(parsed->kind), kind);
        if (kind == 1)
            QCOMPARE(parsed->code, code);
        if (kind == 2)
            QCOMPARE(parsed->program, QStringList{QStringLiteral("1")} + QStringList(19, QStringLiteral("2")));
    }

    void commandsReachTheLampAsTheSharedStateSays()
    {
        StationHost host;
        StationCommand::Apply(host, *StationCommand::Parse(QStringLiteral("161")));
        StationCommand::Apply(host, *StationCommand::Parse(StationCommand::EncodeProgram(215)));
        StationCommand::Apply(host, *StationCommand::Parse(QStringLiteral("06")));
        QCOMPARE(host.calls.size(), 3);
        QCOMPARE(host.calls[0].kind, QStringLiteral("Transfer"));
        QCOMPARE(host.calls[0].mode, 1);
        QCOMPARE(host.calls[0].direct, 161);
        QCOMPARE(host.calls[1].mode, 2);
        QCOMPARE(host.calls[1].program, QStringList{QStringLiteral("215")} + QStringList(19, QStringLiteral("223")));
        QCOMPARE(host.calls[2].kind, QStringLiteral("SendExecute"));
        QCOMPARE(host.calls[2].execute, 6);
    }

    void aCommandWaitsBehindARunningTransfer()
    {
        StationHost host;
        host.busy = true;
        host.ProgramList = {QStringLiteral("160")};
        host.TransferMode = 2;
        StationCommand::Apply(host, *StationCommand::Parse(QStringLiteral("170")));
        StationCommand::Apply(host, *StationCommand::Parse(QStringLiteral("06")));
        QVERIFY(host.calls.isEmpty());
        QCOMPARE(host.TransferMode, 2);   // the running transfer keeps its state
        QCOMPARE(host.ProgramList, QStringList{QStringLiteral("160")});
        host.FinishTransfer();
        QCOMPARE(host.calls.size(), 2);
        QCOMPARE(host.calls[0].direct, 170);
        QCOMPARE(host.calls[0].mode, 1);
        QCOMPARE(host.calls[1].kind, QStringLiteral("SendExecute"));
    }

    void paletteCodes()
    {
        QCOMPARE(StationPalette::Choices(0).size(), 8);
        QCOMPARE(StationPalette::Choices(0).at(2), QStringLiteral("2秒"));
        QCOMPARE(StationPalette::Choices(0).last(), QStringLiteral("FADE OUT"));
        QCOMPARE(StationPalette::Choices(7).size(), 6);           // dark
        QCOMPARE(StationPalette::Panel(7).tag + 5, 221);
        QCOMPARE(StationPalette::Panel(6).tag + 7, 215);         // white, fade out
        QVERIFY(StationPalette::Choices(StationPalette::DeletePanel).isEmpty());
    }

    void namesStandForAddresses()
    {
        const QStringList s = Settings();
        QCOMPARE(StationNameFor(s, QStringLiteral("192.168.0.5")), QStringLiteral("たろう"));
        QCOMPARE(StationNameFor(s, QStringLiteral("192.168.0.9")), QStringLiteral("192.168.0.9"));
        QCOMPARE(StationNameFor(s, QStringLiteral("192.168.0.7")), QStringLiteral("192.168.0.7"));
        QCOMPARE(ReceiveModeOf(s), TReceiveMode::AcceptNone);
        QCOMPARE(NetworkEntry(QStringList{}, OwnAddress), QString());
        // The record the page writes is read back by the message window.
        QStringList written;
        SetReceiveMode(written, TReceiveMode::AcceptRegistered);
        QCOMPARE(written.value(ReceiveMode), QStringLiteral("2"));
        written[Address(2)] = QStringLiteral("192.168.0.5");
        QVERIFY(AcceptsConnectionFrom(written, QStringLiteral("192.168.0.5")));
        QVERIFY(!AcceptsConnectionFrom(written, QStringLiteral("192.168.0.9")));
        QVERIFY(!AcceptsConnectionFrom(s, QStringLiteral("192.168.0.5")));   // no readable mode: nobody
    }

    void receivedMessagesBecomeLogLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");   // empty: ignored
        QTest::newRow("registered") << "192.168.0.5[9:05:01]:こんにちは" << "たろう[9:05:01]:こんにちは";
        QTest::newRow("unregistered") << "192.168.0.9[9:05:01]:やあ" << "192.168.0.9[9:05:01]:やあ";
        QTest::newRow("every occurrence") << "192.168.0.5[9:05:01]:192.168.0.5です192.168.0.5"
                                          << "たろう[9:05:01]:たろうですたろう";
        QTest::newRow("markup stays text") << "192.168.0.9[1:00:00]:<b>x</b>" << "192.168.0.9[1:00:00]:<b>x</b>";
        QTest::newRow("no sender") << "[9:05:01]:x" << "";
        QTest::newRow("sender not an address") << "hello[9:05:01]:x" << "";
        QTest::newRow("no time part") << "192.168.0.5[9:05:01 x" << "";
        QTest::newRow("a station command") << "06" << "";
    }
    void receivedMessagesBecomeLogLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        const auto result = ChatMessage::ReceivedLogLine(text, Settings());
        QCOMPARE(result.has_value(), !line.isEmpty());
        if (result)
            QCOMPARE(*result, line);
    }

    void sentMessageAndLogLines()
    {
        const QString message = ChatMessage::Build(QStringLiteral("10.0.0.2"), ChatMessage::TimeText(QTime(7, 3, 9)), QStringLiteral("10.0.0.2だよ"));
        QCOMPARE(message, QStringLiteral("10.0.0.2[7:03:09]:10.0.0.2だよ"));
        QCOMPARE(ChatMessage::SentLogLine(message, QStringLiteral("10.0.0.2"), QStringLiteral("はな")), QStringLiteral("はな[7:03:09]:はなだよ"));
        QCOMPARE(ChatMessage::IncomingConnectedLine(QStringLiteral("A"), QStringLiteral("B")), QStringLiteral("[ A ---> B ]接続"));
        QCOMPARE(ChatMessage::OutgoingClosedLine(QStringLiteral("B"), QStringLiteral("A")), QStringLiteral("[ B ---> A ]切断"));
        QCOMPARE(ChatMessage::OutgoingFailedLine(QStringLiteral("1.2.3.4")), QStringLiteral("接続先:1.2.3.4に接続できませんでした。"));
    }
};

QTEST_GUILESS_MAIN(TestNetworkMessages)
#include "test_network_messages.moc"
