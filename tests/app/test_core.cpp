#include "AssetPath.h"
#include "Cp932.h"
#include "IniFile.h"
#include "MsTimer.h"
#include "PacedWait.h"
#include "WorkFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void pacedWaitLastsAtLeastItsTimeAndHandlesEvents()
    {
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(5);
        for (int ms : {40, 100, 1}) {
            QElapsedTimer clock;
            clock.start();
            PacedWait(ms);
            QVERIFY2(clock.elapsed() >= ms, qPrintable(QString::number(clock.elapsed())));
        }
        // How many ticks a busy machine lets through is its own affair (the
        // benchmarks measure it); that they are handled at all is the point.
        QVERIFY2(ticks >= 1, "events kept flowing during the wait");
    }

    void workFolderJoinsWithOneSeparator()
    {
        QCOMPARE(WorkFolderUnder(QStringLiteral("/home/pupil/Documents")), QStringLiteral("/home/pupil/Documents/LK-72Temp/"));
        QCOMPARE(WorkFolderUnder(QStringLiteral("/home/pupil/Documents/")), QStringLiteral("/home/pupil/Documents/LK-72Temp/"));
        QCOMPARE(WorkFolderUnder(QStringLiteral("C:\\Users\\p\\Documents\\")), QStringLiteral("C:/Users/p/Documents/LK-72Temp/"));
        const QString made = WorkFolder();
        QVERIFY(made.endsWith(QStringLiteral("LK-72Temp/")));
        QVERIFY(QDir(made).exists());
    }

    void timerRestartRules()
    {
        int ticks = 0;
        TMsTimer timer;
        timer.SetInterval(20);
        QVERIFY2(!timer.IsRunning(), "no handler: never ticks");
        timer.SetOnTimer([&](TMsTimer *) { ++ticks; });
        QVERIFY(timer.IsRunning());
        timer.SetInterval(0);
        QVERIFY2(!timer.IsRunning(), "interval 0: never ticks");
        QTest::qWait(60);
        QCOMPARE(ticks, 0);

        timer.SetInterval(30);
        QTest::qWait(20);
        timer.SetEnabled(true); // already true: the period must not restart
        QTest::qWait(20);
        QCOMPARE(ticks, 1);
        timer.SetEnabled(false);
        const int stopped = ticks;
        QTest::qWait(70);
        QCOMPARE(ticks, stopped);
    }

    void resolverIgnoresCaseAndBackslashes()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("picture/LED"));
        QFile f(dir.path() + QStringLiteral("/picture/LED/led_red.bmp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString want = QFileInfo(f).absoluteFilePath();
        QCOMPARE(ResolveAssetUnder(dir.path(), QStringLiteral("Picture\\LED\\led_red.bmp")), want);
        QCOMPARE(ResolveAssetUnder(dir.path(), QStringLiteral("picture\\led\\LED_RED.BMP")), want);
        QVERIFY(ResolveAssetUnder(dir.path(), QStringLiteral("picture\\LED\\led_blue.bmp")).isEmpty());
        QVERIFY(ResolveAssetUnder(dir.path(), QStringLiteral("picture\\..\\picture\\LED\\led_red.bmp")).isEmpty());
    }

    void cp932IsWindowsFlavoured()
    {
        QCOMPARE(Cp932::Encode(QStringLiteral("～")), QByteArray("\x81\x60"));
        QCOMPARE(Cp932::Encode(QStringLiteral("①")), QByteArray("\x87\x40"));
        QCOMPARE(Cp932::Encode(QStringLiteral("\\")), QByteArray("\\"));
        // A character the code page lacks keeps its place: "n\uFEFFame" must not become "name".
        QCOMPARE(Cp932::Encode(QStringLiteral("n\uFEFFame=2")), QByteArray("n?ame=2"));
        QVERIFY(Cp932::CanEncode(QStringLiteral("赤を3秒")));
        QCOMPARE(Cp932::FirstUnencodable(QStringLiteral("赤😀")), QStringLiteral("😀"));
        QCOMPARE(Cp932::Decode(QByteArray("\x90\xd4")), QStringLiteral("赤"));
        // Input methods' characters are written as their code page 932 twins.
        QCOMPARE(Cp932::Encode(QStringLiteral("〜−‖—¢£¬")), Cp932::Encode(QStringLiteral("～－∥―￠￡￢")));
        QCOMPARE(Cp932::FirstUnencodable(QStringLiteral("〜😀")), QStringLiteral("😀"));
        // Files: a byte-order mark is skipped, UTF-8 read as such, the rest is code page 932.
        QCOMPARE(Cp932::DecodeFile(QByteArray("\xEF\xBB\xBF\xE8\xB5\xA4")), QStringLiteral("赤"));
        QCOMPARE(Cp932::DecodeFile(QByteArray("\xE8\xB5\xA4")), QStringLiteral("赤"));
        QCOMPARE(Cp932::DecodeFile(QByteArray("\xEF\xBB\xBF\x90\xd4")), QStringLiteral("赤"));
        QCOMPARE(Cp932::DecodeFile(QByteArray("\x90\xd4")), QStringLiteral("赤"));
    }

    void iniReadsDefaultsAndKeepsUnknownLines()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/set.ini");
        {
            TIniFile missing(path);
            QCOMPARE(missing.ReadString(QStringLiteral("back"), QStringLiteral("picture"), QStringLiteral("bg1.jpg")), QStringLiteral("bg1.jpg"));
            QCOMPARE(missing.ReadInteger(QStringLiteral("comport"), QStringLiteral("name"), 0), 0);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Cp932::Encode(QStringLiteral("; 先生のメモ\r\n[comport]\r\nname=7\r\ncom1=/dev/ttyUSB0\r\n\r\n[extra]\r\nkey=値\r\n[Back]\r\nPicture=bg3.jpg\r\n")));
        f.close();
        TIniFile ini(path);
        QCOMPARE(ini.ReadInteger(QStringLiteral("comport"), QStringLiteral("name"), 0), 7);
        QCOMPARE(ini.ReadString(QStringLiteral("back"), QStringLiteral("picture"), QString()), QStringLiteral("bg3.jpg"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("extra"), QStringLiteral("key"), 5), 5);
        ini.WriteInteger(QStringLiteral("comport"), QStringLiteral("name"), 2);
        ini.WriteString(QStringLiteral("font"), QStringLiteral("name"), QStringLiteral("ＭＳ ゴシック"));
        QVERIFY(ini.Save());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString written = Cp932::Decode(f.readAll());
        QCOMPARE(written, QStringLiteral("; 先生のメモ\r\n[comport]\r\nname=2\r\ncom1=/dev/ttyUSB0\r\n\r\n[extra]\r\nkey=値\r\n[Back]\r\nPicture=bg3.jpg\r\n[font]\r\nname=ＭＳ ゴシック\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
