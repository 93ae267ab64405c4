// What the lamp receives from the block editor, read on a pseudo-terminal
// that stands in for the serial cable.
#include "DragController.h"
#include "MessageBoxWatcher.h"
#include "PageScreen.h"
#include "PtyLamp.h"
#include "Selector.h"
#include "MainWindow.h"
#include "TransferProgressWindow.h"
#include "rs232c.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStandardPaths>
#include <QTest>

class TestStep3Wire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void blocksReachTheLampAndRun()
    {
        MessageBoxWatcher boxes;
        PtyLamp lamp;
        QVERIFY(lamp.IsValid());
        TMainWindow form;
        TTransferProgressWindow progress(form);
        form.AttachProgressWindow(&progress);
        form.OpenLampPort(lamp.Device());
        QVERIFY(form.SerialPort().IsOpen());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ShowPage(TMainHost::PageStep3);
        QWidget *page = form.Page(TMainHost::PageStep3);
        const auto drop = [page](const char *block, int n) {
            auto mime = TDragController::MimeFor(page->findChild<QWidget *>(QString::fromLatin1(block)));
            QWidget *slot = page->findChild<QWidget *>(QStringLiteral("Image%1").arg(76 + n));
            QDragEnterEvent enter(QPoint(45, 27), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QApplication::sendEvent(slot, &enter);
            QDropEvent dropped(QPointF(45, 27), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QApplication::sendEvent(slot, &dropped);
        };
        drop("Image75", 1);
        auto *count = page->findChild<TSelector *>(QStringLiteral("Selector1"));
        for (int i = 0; i < 11; ++i)   // 12 times
            QTest::mouseClick(count, Qt::LeftButton, {}, QPoint(85, 7));
        drop("Image70", 2);            // yellow 0.5 s
        drop("Image66", 3);
        drop("Image76", 4);
        drop("Image74", 5);
        QTest::mouseClick(page->findChild<QWidget *>(QStringLiteral("Image7")), Qt::LeftButton, {}, QPoint(40, 25));
        QByteArray want("\x02\x40\xb8\x60\x5f\xd8", 6);
        want += QByteArray(15, '\xdf');
        want += QByteArray("\x0a\x01", 2);
        QTRY_COMPARE(lamp.Bytes().toHex(' '), want.toHex(' '));
        lamp.Clear();
        QTest::keyClick(page->findChild<QWidget *>(QStringLiteral("Selector1")), Qt::Key_F7);
        QTRY_COMPARE(lamp.Bytes().toHex(' '), QByteArray("06"));
        // Only a data file missing from this build may have raised a box.
        QStringList texts = boxes.Texts();
        texts.removeAll(QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
        QCOMPARE(texts, QStringList{});
    }
};

QTEST_MAIN(TestStep3Wire)
#include "test_step3_wire.moc"
