#include "CommandCodes.h"
#include "FakeHost.h"
#include "PtyLamp.h"
#include "Transfer.h"
#include "TransferProgress.h"
#include "TransferRequest.h"
#include "WireExpect.h"
#include "rs232c.h"

#include <QStandardPaths>

#include <algorithm>
#include <QTest>

namespace {

class ProgressRecorder : public TTransferProgress {
public:
    int begun = 0;
    int ended = 0;
    QString problem;
    QList<int> positions;
    void BeginTransfer(const QString &p) override
    {
        ++begun;
        problem = p;
        positions.clear();
    }
    void SetPosition(int position) override { positions.append(position); }
    void EndTransfer() override { ++ended; }
};

QStringList Codes(int count, int first)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(QString::number(first + i % 40));
    return list;
}

// Every byte in order, and before each the pause it needs, taken from the
// program's write calls: a busy machine may make a pause longer, never
// shorter, so a short one is a pause the sender skipped or cut. A pause that
// belongs elsewhere leaves its own place short. The last millisecond is the
// clock's rounding.
void CompareWire(const PtyLamp &lamp, const QList<WireByte> &expected)
{
    QByteArray want;
    for (const WireByte &w : expected)
        want.append(static_cast<char>(w.byte));
    QCOMPARE(lamp.Bytes().toHex(' '), want.toHex(' '));
    for (int i = 1; i < expected.size(); ++i) {
        const double gap = lamp.GapMs(i);
        const int pause = expected.at(i).pauseBefore;
        QVERIFY2(gap >= pause - 1.0, qPrintable(QStringLiteral("byte %1: %2 ms after the one before, want >= %3").arg(i).arg(gap).arg(pause)));
    }
}

void WaitForBytes(const PtyLamp &lamp, int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(lamp.Bytes().size() >= count, 2000);
    QTest::qWait(20);
}

} // namespace

class TestLinkWire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_lamp = std::make_unique<PtyLamp>();
        QVERIFY(m_lamp->IsValid());
        m_port = std::make_unique<Trs232c>();
        m_port->portname = m_lamp->Device();
        QVERIFY(m_port->Open());
    }
    void cleanup()
    {
        m_port.reset();
        m_lamp.reset();
    }

    void directCommandsAreModeThenCode_data()
    {
        QTest::addColumn<bool>("sound");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("light 178") << false << 178 << QByteArray("\x01\xb2", 2);
        QTest::newRow("sound 33") << true << 33 << QByteArray("\x03\x21", 2);
        QTest::newRow("low byte of 0x1A2") << false << 0x1a2 << QByteArray("\x01\xa2", 2);
    }
    void directCommandsAreModeThenCode()
    {
        QFETCH(bool, sound);
        QFETCH(int, code);
        QFETCH(QByteArray, wire);
        FakeHost host;
        ProgressRecorder progress;
        (sound ? TTransferRequest::DirectSound(code) : TTransferRequest::DirectLight(code)).FillHost(host);
        QVERIFY(TLampTransfer(host, *m_port, progress).Run());
        WaitForBytes(*m_lamp, 2);
        CompareWire(*m_lamp, {{static_cast<quint8>(wire[0]), 0}, {static_cast<quint8>(wire[1]), 40}});
        QCOMPARE(progress.begun, 0);
    }

    void lightProgramIsFramedAndEndsAtHundred()
    {
        FakeHost host;
        ProgressRecorder progress;
        QStringList program = LampCode::PadLightProgram({162, 178, 186});
        program[5] = QStringLiteral("255");
        program[6] = QStringLiteral("256");
        TTransferRequest::LightProgram(program).FillHost(host);
        QVERIFY(TLampTransfer(host, *m_port, progress).Run());
        WaitForBytes(*m_lamp, 23);
        QList<WireByte> want{{2, 0}};
        for (int i = 0; i < 20; ++i)
            want.append({static_cast<quint8>(host.ProgramList[i].toInt() & 0xff), 40});
        want.append({10, 240});
        want.append({1, 200});
        CompareWire(*m_lamp, want);
        QCOMPARE(static_cast<quint8>(m_lamp->Bytes().at(6)), quint8(255));
        QCOMPARE(static_cast<quint8>(m_lamp->Bytes().at(7)), quint8(0));
        QCOMPARE(progress.begun, 1);
        QCOMPARE(progress.ended, 1);
        QCOMPARE(progress.positions.size(), 20);
        QCOMPARE(progress.positions.first(), 5);
        QCOMPARE(progress.positions.last(), 100);
    }

    void lightAndSoundProgram_data()
    {
        QTest::addColumn<int>("sounds");
        QTest::addColumn<bool>("withLight");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("final");
        QTest::newRow("20") << 20 << false << 5 << 100;
        QTest::newRow("40") << 40 << false << 2 << 80;
        QTest::newRow("60") << 60 << false << 2 << 100;
        QTest::newRow("80") << 80 << false << 1 << 80;
        QTest::newRow("light+20") << 20 << true << 2 << 80;
        QTest::newRow("light+40") << 40 << true << 2 << 100;
        QTest::newRow("light+60") << 60 << true << 1 << 80;
        QTest::newRow("light+80") << 80 << true << 1 << 100;
    }
    void lightAndSoundProgram()
    {
        QFETCH(int, sounds);
        QFETCH(bool, withLight);
        QFETCH(int, step);
        QFETCH(int, final);
        FakeHost host;
        ProgressRecorder progress;
        QStringList notes = Codes(sounds, 16);
        notes[1] = QStringLiteral("255");
        TTransferRequest::LightAndSound(notes, withLight ? Codes(20, 1) : QStringList()).FillHost(host);
        QVERIFY(TLampTransfer(host, *m_port, progress).Run());
        const QList<WireByte> want = ExpectedLightAndSound(BytesOf(host.ProgramList), BytesOf(host.LightList));
        WaitForBytes(*m_lamp, static_cast<int>(want.size()));
        CompareWire(*m_lamp, want);
        QCOMPARE(progress.positions.size(), sounds + (withLight ? 20 : 0));
        QCOMPARE(progress.positions.first(), step);
        QCOMPARE(progress.positions.last(), final);
        QCOMPARE(progress.ended, 1);
    }

    void executeIsOneByte()
    {
        FakeHost host;
        ProgressRecorder progress;
        host.ExecuteCode = LampCode::RunLightAndSound;
        QVERIFY(TLampTransfer(host, *m_port, progress).RunExecute());
        WaitForBytes(*m_lamp, 1);
        QCOMPARE(m_lamp->Bytes(), QByteArray("\x09"));
        QCOMPARE(progress.begun, 0);
    }

    void malformedListSendsNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<QStringList>("light");
        QTest::addColumn<QString>("hint");
        QStringList letters = LampCode::PadLightProgram({162});
        letters[3] = QStringLiteral("abc");
        QTest::newRow("not a number") << 2 << letters << QStringList()
                                      << QStringLiteral("ランプに送れませんでした\nプログラムの4個目「abc」が数字ではありません");
        QTest::newRow("19 entries") << 2 << letters.mid(0, 19) << QStringList()
                                    << QStringLiteral("ランプに送れませんでした\n光のプログラムは20個必要ですが、19個です");
        QTest::newRow("bad light") << 4 << Codes(20, 16) << QStringList{QStringLiteral("1.5")}
                                   << QStringLiteral("ランプに送れませんでした\n光のリストの1個目「1.5」が数字ではありません");
        QTest::newRow("empty sound") << 4 << QStringList() << QStringList()
                                     << QStringLiteral("ランプに送れませんでした\n音のプログラムが空です");
    }
    void malformedListSendsNothing()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, program);
        QFETCH(QStringList, light);
        QFETCH(QString, hint);
        FakeHost host;
        ProgressRecorder progress;
        host.TransferMode = mode;
        host.ProgramList = program;
        host.LightList = light;
        QVERIFY(!TLampTransfer(host, *m_port, progress).Run());
        QTest::qWait(100);
        QVERIFY(m_lamp->Bytes().isEmpty());
        QCOMPARE(progress.begun, 0);
        QCOMPARE(host.hint, hint);
    }

    // The execute buttons of STEP3 and STEP7 look at ProgramList whichever
    // lesson filled it: a direct command must leave it, and the light list, alone.
    void requestsFillOnlyWhatTheirModeReads()
    {
        const QStringList program = LampCode::PadLightProgram({162});
        const QStringList notes{QStringLiteral("32")}, lights{QStringLiteral("16")};
        const QStringList oldProgram{QStringLiteral("old")}, oldLights{QStringLiteral("old light")};
        struct Row {
            const char *name;
            TTransferRequest request;
            int mode, direct;
            QStringList program, lights;
        };
        const Row rows[] = {
            {"direct light", TTransferRequest::DirectLight(178), 1, 178, oldProgram, oldLights},
            {"direct sound", TTransferRequest::DirectSound(33), 3, 33, oldProgram, oldLights},
            {"light program", TTransferRequest::LightProgram(program), 2, 7, program, oldLights},
            {"light and sound", TTransferRequest::LightAndSound(notes, lights), 4, 7, notes, lights},
            {"sound without light", TTransferRequest::LightAndSound(notes, {}), 4, 7, notes, {}},
        };
        for (const Row &row : rows) {
            FakeHost host;
            host.DirectCode = 7;
            host.ProgramList = oldProgram;
            host.LightList = oldLights;
            host.Transfer(row.request);
            QVERIFY2(host.transfers.size() == 1, row.name);
            const FakeHost::Sent &sent = host.transfers.first();
            QVERIFY2(sent.mode == row.mode && sent.directCode == row.direct, row.name);
            QVERIFY2(sent.program == row.program && sent.light == row.lights, row.name);
        }
    }

    void stepRoundsHalfToEven()
    {
        QCOMPARE(TLampTransfer::StepFor(20), 5);
        QCOMPARE(TLampTransfer::StepFor(40), 2);
        QCOMPARE(TLampTransfer::StepFor(60), 2);
        QCOMPARE(TLampTransfer::StepFor(80), 1);
        QCOMPARE(TLampTransfer::StepFor(100), 1);
        QCOMPARE(TLampTransfer::StepFor(8), 12);  // 12.5 -> 12
        QCOMPARE(TLampTransfer::StepFor(200), 0); // 0.5 -> 0
        QCOMPARE(TLampTransfer::StepFor(67), 1);
    }

    void closedPortStillRunsAndSaysNothingArrived()
    {
        m_port->Close();
        m_port->portname = QStringLiteral("/dev/lk72-no-such-device");
        FakeHost host;
        ProgressRecorder progress;
        TTransferRequest::LightProgram(LampCode::PadLightProgram({162})).FillHost(host);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!TLampTransfer(host, *m_port, progress).Run());
        QVERIFY(clock.elapsed() >= 20 * 40 + 40 + 400);
        QCOMPARE(progress.positions.last(), 100);
        QVERIFY(host.hint.startsWith(QStringLiteral("ランプに何も送られていません\n")));
        QVERIFY(host.hint.contains(QStringLiteral("接続コードが見つかりません")));
        QCOMPARE(progress.problem, host.hint);
    }

    void reopensWhenTheDeviceIsBack()
    {
        m_port->Close();
        const QString device = m_lamp->Device();
        m_port->portname = QStringLiteral("/dev/lk72-no-such-device");
        FakeHost host;
        ProgressRecorder progress;
        TTransferRequest::DirectLight(161).FillHost(host);
        QVERIFY(!TLampTransfer(host, *m_port, progress).Run());
        QVERIFY(!host.hint.isEmpty());
        m_port->portname = device; // the cable is plugged in
        QVERIFY(TLampTransfer(host, *m_port, progress).Run());
        WaitForBytes(*m_lamp, 2);
        QCOMPARE(m_lamp->Bytes(), QByteArray("\x01\xa1"));
        QVERIFY2(host.hint.isEmpty(), "the earlier warning is cleared once the lamp is reached");
    }

private:
    std::unique_ptr<PtyLamp> m_lamp;
    std::unique_ptr<Trs232c> m_port;
};

QTEST_GUILESS_MAIN(TestLinkWire)
#include "test_link_wire.moc"
