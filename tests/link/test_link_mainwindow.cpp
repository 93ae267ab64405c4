#include "CommandCodes.h"
#include "MessageBoxWatcher.h"
#include "PtyLamp.h"
#include "TransferRequest.h"
#include "MainWindow.h"
#include "TransferProgressWindow.h"
#include "rs232c.h"

#include <QStandardPaths>
#include <QTest>
#include <QTimer>

class TestLinkMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void transfersNeverInterleave()
    {
        MessageBoxWatcher boxes;
        PtyLamp lamp;
        TMainWindow form;
        TTransferProgressWindow progress(form);
        form.AttachProgressWindow(&progress);
        form.OpenLampPort(lamp.Device());
        QVERIFY(form.SerialPort().IsOpen());
        bool sawWindow = false;
        bool secondIgnored = false;
        QTimer::singleShot(300, &form, [&] {
            sawWindow = progress.isVisible() && form.IsTransferring();
            form.Transfer();           // the user clicks again: ignored
            secondIgnored = !form.SendExecute();
            form.RunWhenIdle([&form] { // another station's command: sent after
                form.Transfer(TTransferRequest::DirectLight(161));
            });
        });
        form.Transfer(TTransferRequest::LightProgram(LampCode::PadLightProgram({162, 178, 186})));
        QVERIFY(sawWindow);
        QVERIFY(secondIgnored);
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.Position(), 100);
        QTRY_COMPARE(lamp.Bytes().size(), 25);
        QByteArray want("\x02\xa2\xb2\xba", 4);
        want += QByteArray(17, '\xdf');
        want += QByteArray("\x0a\x01\x01\xa1", 4);
        QCOMPARE(lamp.Bytes().toHex(' '), want.toHex(' '));
        QVERIFY(!form.IsTransferring());
    }

    void closedPortIsSaidPlainly()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        TTransferProgressWindow progress(form);
        form.AttachProgressWindow(&progress);
        form.OpenLampPort(QStringLiteral("/dev/lk72-missing"));
        form.TransferMode = 2;
        form.ProgramList = LampCode::PadLightProgram({162});
        QString shown;
        QTimer::singleShot(300, &form, [&] {
            if (auto *label = progress.findChild<QWidget *>(QStringLiteral("Label1")); label && label->isVisible())
                shown = label->property("text").toString();
        });
        form.Transfer();
        QVERIFY(shown.startsWith(QStringLiteral("ランプに何も送られていません")));
        QCOMPARE(form.HintAreaText(), shown);
        QCOMPARE(progress.Position(), 100);
    }

    void waitingPictureBlinksOnlyOnStep7()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        TTransferProgressWindow progress(form);
        QCOMPARE(progress.size(), QSize(399, 298));
        auto *wait = progress.findChild<QWidget *>(QStringLiteral("Image2"));
        QVERIFY(wait);
        QCOMPARE(wait->geometry(), QRect(88, 160, 228, 40));
        QCOMPARE(progress.findChild<QWidget *>(QStringLiteral("ProgressBar1"))->geometry(), QRect(50, 216, 303, 20));
        progress.show();
        form.PageCode = 3;
        const bool before = wait->isVisible();
        QTest::qWait(1200);
        QCOMPARE(wait->isVisible(), before);
        form.PageCode = 6;
        bool changed = false;
        for (int i = 0; i < 14 && !changed; ++i) {
            QTest::qWait(100);
            changed = wait->isVisible() != before;
        }
        QVERIFY(changed);
    }
};

QTEST_MAIN(TestLinkMainWindow)
#include "test_link_mainwindow.moc"
