#include "IniFile.h"
#include "PortNames.h"
#include "PtyLamp.h"
#include "TransferStatus.h"
#include "WorkFolder.h"
#include "rs232c.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

class TestLinkPort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void stopBitAndParityTablesMatchExactly()
    {
        QCOMPARE(Trs232c::StopBitsFor(QStringLiteral("1.5")), std::optional(QSerialPort::OneAndHalfStop));
        QCOMPARE(Trs232c::StopBitsFor(QStringLiteral("2")), std::optional(QSerialPort::TwoStop));
        QVERIFY(!Trs232c::StopBitsFor(QStringLiteral("1,5")));
        QCOMPARE(Trs232c::ParityFor(QStringLiteral("ＥＶＥＮ")), std::optional(QSerialPort::EvenParity));
        QCOMPARE(Trs232c::ParityFor(QStringLiteral("なし")), std::optional(QSerialPort::NoParity));
        QCOMPARE(Trs232c::ParityFor(QStringLiteral("ｍａｒｋ")), std::optional(QSerialPort::MarkParity));
        QCOMPARE(Trs232c::ParityFor(QStringLiteral("すぺーす")), std::optional(QSerialPort::SpaceParity));
        QCOMPARE(Trs232c::ParityFor(QStringLiteral("きすう")), std::optional(QSerialPort::OddParity));
        QVERIFY(!Trs232c::ParityFor(QStringLiteral("Even")));
    }

    void flowSetIsTheFlagWord()
    {
        Trs232c port;
        QCOMPARE(port.flowflag, 1);
        QCOMPARE(port.flow(), Trs232c::rsflowset(Trs232c::dfBinary));
        port.setFlow(Trs232c::dfBinary | Trs232c::dfAbortOnError | Trs232c::dfOutX);
        QCOMPARE(port.flowflag, 1 | (1 << 14) | (1 << 8));
        QVERIFY(port.flow().testFlag(Trs232c::dfOutX));
        QCOMPARE(Trs232c::FlowControlFor(port.flowflag), QSerialPort::SoftwareControl);
        QCOMPARE(Trs232c::FlowControlFor(1), QSerialPort::NoFlowControl);
        QCOMPARE(Trs232c::FlowControlFor(1 | 4), QSerialPort::HardwareControl);
    }

    void openCloseAndTheLineHandlers()
    {
        PtyLamp lamp;
        QVERIFY(lamp.IsValid());
        Trs232c port;
        QVERIFY(!port.WriteByte(6));
        QVERIFY(!port.SetDTR(true));
        QVERIFY(!port.Close());
        QStringList events;
        port.OnOpen = [&](Trs232c *p) { events << QStringLiteral("open %1").arg(p->IsOpen()); };
        port.OnClose = [&](Trs232c *p) { events << QStringLiteral("close %1").arg(p->IsOpen()); };
        port.portname = lamp.Device();
        QVERIFY(port.Open());
        port.portname = QStringLiteral("/dev/other");
        QVERIFY2(!port.Open(), "a second open changes nothing");
        QVERIFY(port.IsOpen());
        QVERIFY(port.WriteByte(0xa2));
        const char two[] = {'\x0a', '\x01'};
        QVERIFY(port.WriteBuffer(two, 2));
        QTRY_COMPARE(lamp.Bytes(), QByteArray("\xa2\x0a\x01"));
        QVERIFY(port.Close());
        QVERIFY(!port.IsOpen());
        QCOMPARE(events, (QStringList{QStringLiteral("open 1"), QStringLiteral("close 1")}));
    }

    void secondProgramFindsTheDeviceInUse()
    {
        PtyLamp lamp;
        Trs232c first, second;
        first.portname = second.portname = lamp.Device();
        QVERIFY(first.Open());
        QVERIFY(!second.Open());
        QCOMPARE(second.LastOpenProblem(), Trs232c::OpenProblem::InUse);
        first.Close();
        QVERIFY(second.Open());
    }

    void missingDeviceIsNotFound()
    {
        Trs232c port;
        port.portname = QStringLiteral("/dev/lk72-missing");
        QVERIFY(!port.Open());
        QCOMPARE(port.LastOpenProblem(), Trs232c::OpenProblem::NotFound);
        const QString text = TransferStatus::NothingSent(Trs232c::OpenProblem::NoPermission, QStringLiteral("com1"),
                                                         QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(text.contains(QStringLiteral("COM1（/dev/ttyUSB0）")));
        QVERIFY(text.contains(QStringLiteral("dialout")));
    }

    void comNamesResolve()
    {
        const QStringList found = OrderSerialDevices(
            {QStringLiteral("/dev/ttyS10"), QStringLiteral("/dev/ttyS2"), QStringLiteral("/dev/ttyACM0"),
             QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyUSB0")});
        QCOMPARE(found, (QStringList{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB0"),
                                     QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyS2"),
                                     QStringLiteral("/dev/ttyS10")}));
        const QString path = WorkFolder() + QStringLiteral("set.ini");
        QFile::remove(path);
        TIniFile ini(path);
        ini.WriteString(QStringLiteral("comport"), QStringLiteral("com2"), QStringLiteral("/dev/pts/9"));
        QVERIFY(ini.Save());
        const TIniFile read(path);
        QCOMPARE(DeviceForPortName(QStringLiteral("COM2"), read, found), QStringLiteral("/dev/pts/9"));
        QCOMPARE(DeviceForPortName(QStringLiteral("com1"), read, found), QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(DeviceForPortName(QStringLiteral("COM4"), read, found), QStringLiteral("/dev/ttyS2"));
        QCOMPARE(DeviceForPortName(QStringLiteral("COM4"), read, found.mid(0, 2)), QString());
        QCOMPARE(DeviceForPortName(QStringLiteral("/dev/pts/3"), read, found), QStringLiteral("/dev/pts/3"));

        // The program's own lookup reads set.ini: com1 on a pseudo-terminal.
        PtyLamp lamp;
        ini.WriteString(QStringLiteral("comport"), QStringLiteral("com1"), lamp.Device());
        QVERIFY(ini.Save());
        QCOMPARE(DeviceForPortName(QStringLiteral("COM1")), lamp.Device());
        QCOMPARE(LampPortDevices().first().device, lamp.Device());
        Trs232c port;
        QVERIFY(port.Open());
        QVERIFY(port.WriteByte(7));
        QTRY_COMPARE(lamp.Bytes(), QByteArray("\x07"));
        port.Close();
        QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(TestLinkPort)
#include "test_link_port.moc"
