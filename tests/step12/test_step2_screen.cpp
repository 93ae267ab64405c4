#include "AssetPath.h"
#include "DirectLightCommand.h"
#include "DragController.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "Selector.h"
#include "Step2Screen.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString CreateError = QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい");

bool HaveData()
{
    return !ResolveAsset(QStringLiteral("picture\\Pre\\176.bmp")).isEmpty();
}

struct Step2 {
    MessageBoxWatcher boxes;
    FakeHost host;
    TStep2Screen form{host, nullptr};

    Step2()
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("the STEP2 screen was not exposed");
        boxes.Clear();
    }
    TImage *Image(const char *name) { return form.findChild<TImage *>(QString::fromLatin1(name)); }
    TSelector *Seconds() { return form.findChild<TSelector *>(QStringLiteral("Selector1")); }
    TDragController *Drag() { return form.findChild<TDragController *>(); }

    // The drop as the platform delivers it at the end of a chip's drag.
    void Drop(const char *chip)
    {
        TImage *frame = Image("Image5");
        auto mime = TDragController::MimeFor(Image(chip));
        QDragEnterEvent enter(QPoint(70, 70), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(70, 70), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(frame, &drop);
        QVERIFY(drop.isAccepted());
    }
    void ChooseSeconds(int index)
    {
        // The right arrow steps from "nothing" to item 0, then on.
        for (int i = 0; i <= index; ++i)
            QTest::mouseClick(Seconds(), Qt::LeftButton, {}, QPoint(140, 11));
        QCOMPARE(Seconds()->ItemIndex(), index);
    }
    void Run() { QTest::mouseClick(Image("Image4"), Qt::LeftButton, {}, QPoint(50, 40)); }
};

} // namespace

class TestStep2Screen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qRegisterMetaType<QWidget *>();
    }

    void layout()
    {
        Step2 s;
        const QPoint chips[] = {{48, 96}, {104, 96}, {48, 152}, {104, 152}, {48, 208}, {104, 208}, {48, 264}};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(s.Image(DirectLightCommand::ChipName(i))->geometry(), QRect(chips[i], QSize(50, 50)));
        QCOMPARE(s.Image("Image5")->geometry(), QRect(208, 96, 145, 145));
        QCOMPARE(s.Seconds()->geometry(), QRect(208, 241, 145, 22));
        QCOMPARE(s.Seconds()->Values(), DirectLightCommand::SecondsItems());
        QCOMPARE(s.Seconds()->ItemIndex(), -1);
        QCOMPARE(s.Seconds()->ArrowColor(), QColor(128, 0, 128));
        QCOMPARE(s.Image("Image4")->geometry(), QRect(225, 287, 112, 82));
        QVERIFY(!s.Image("Image7")->isVisible());
        QVERIFY(!s.Image("Image6")->isVisible());
        QCOMPARE(s.form.FrameCode(), 0);
    }

    void messagesWithoutColourOrSeconds()
    {
        Step2 s;
        s.Run();
        QCOMPARE(s.boxes.Texts(), QStringList{TStep2Screen::NoColourMessage()});
        QCOMPARE(TStep2Screen::NoColourMessage(), QStringLiteral("LEDの命令がありません。LEDを光らせる色を枠の中にドラッグして下さい"));
        s.Drop("Image47");
        QCOMPARE(s.form.FrameCode(), 176);
        s.boxes.Clear();
        s.Run();
        QCOMPARE(s.boxes.Texts(), QStringList{QStringLiteral("秒数を設定して下さい")});
        QVERIFY(s.host.transfers.isEmpty());
        QVERIFY(s.Image("Image4")->isEnabled());
    }

    void dropsChooseTheColour_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("picture");
        QTest::newRow("red") << "Image45" << 160 << "picture\\LED\\led_red.bmp";
        QTest::newRow("green") << "Image46" << 168 << "picture\\LED\\led_green.bmp";
        QTest::newRow("blue") << "Image47" << 176 << "picture\\LED\\led_blue.bmp";
        QTest::newRow("yellow") << "Image48" << 184 << "picture\\LED\\led_yellow.bmp";
        QTest::newRow("purple") << "Image49" << 192 << "picture\\LED\\led_purple.bmp";
        QTest::newRow("light blue") << "Image50" << 200 << "picture\\LED\\led_lightblue.bmp";
        QTest::newRow("white") << "Image51" << 208 << "picture\\LED\\led_white.bmp";
    }
    void dropsChooseTheColour()
    {
        QFETCH(QString, chip);
        QFETCH(int, code);
        QFETCH(QString, picture);
        Step2 s;
        s.Drop("Image51");
        s.Drop(chip.toLatin1().constData());
        QCOMPARE(s.form.FrameCode(), code);
        if (HaveData())
            QCOMPARE(s.Image("Image5")->PicturePath(), picture);
    }

    void codesSentAndPreview_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("code");
        QTest::newRow("blue 2 s") << "Image47" << 2 << 178;
        QTest::newRow("red 0.5 s") << "Image45" << 0 << 160;
        QTest::newRow("purple fade in") << "Image49" << 6 << 198;
        QTest::newRow("white fade out") << "Image51" << 7 << 215;
    }
    void codesSentAndPreview()
    {
        QFETCH(QString, chip);
        QFETCH(int, seconds);
        QFETCH(int, code);
        Step2 s;
        s.Drop(chip.toLatin1().constData());
        s.ChooseSeconds(seconds);
        s.Run();
        QCOMPARE(s.host.transfers.size(), 1);
        QCOMPARE(s.host.transfers[0].mode, 1);
        QCOMPARE(s.host.transfers[0].directCode, code);
        QCOMPARE(s.form.LastCode(), code);
        TImage *run = s.Image("Image4");
        QVERIFY(!run->isEnabled());
        const bool fade = seconds >= 6;
        TImage *lamp = s.Image(fade ? "Image6" : "Image7");
        QVERIFY(lamp->isVisible());
        if (HaveData())
            QCOMPARE(s.Image("Image7")->PicturePath(),
                     DirectLightCommand::PreviewPicture(s.form.FrameCode()));
        else
            QCOMPARE(s.boxes.Last(), CreateError);
        // Pressing run again while the preview runs does nothing.
        s.Run();
        QCOMPARE(s.host.transfers.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!lamp->isVisible(), 10000);
        QVERIFY(run->isEnabled());
        // The choice stays for the next run.
        s.Run();
        QCOMPARE(s.host.transfers.size(), 2);
        QCOMPARE(s.host.transfers[1].directCode, code);
    }

    void fadeOutEndsOnTheUnlitBody()
    {
        if (!HaveData())
            QSKIP("the lamp pictures are not generated in this build");
        Step2 s;
        s.Drop("Image51");
        s.ChooseSeconds(7);
        s.Run();
        TImage *fade = s.Image("Image6");
        const QImage full = fade->pixmap().toImage();
        QTest::qWait(1500);
        const QImage middle = fade->pixmap().toImage();
        QVERIFY(middle != full);
        QTRY_VERIFY_WITH_TIMEOUT(!fade->isVisible(), 8000);
        TABitmap body;
        body.LoadFromFile(QStringLiteral("picture\\Pre\\Base.bmp"));
        QCOMPARE(fade->pixmap().toImage().convertToFormat(TABitmap::PixelFormat), body.Image());
    }

    void aFadeTakesFiftyOneTicks()
    {
        for (int index : {6, 7}) {
            const DirectLightCommand::Preview p = DirectLightCommand::PreviewFor(index);
            QCOMPARE(p.intervalMs, 80);
            LightFade fade(p.startOpacity, p.opacityStep);
            int ticks = 1;
            while (!fade.Tick())
                ++ticks;
            QCOMPARE(ticks, 51);
            QCOMPARE(fade.Opacity(), index == 6 ? 255 : 0);
        }
        QCOMPARE(DirectLightCommand::PreviewFor(0).intervalMs, 500);
        QCOMPARE(DirectLightCommand::PreviewFor(5).intervalMs, 5000);
    }

    void dragStartsOnlyPastTheThreshold()
    {
        Step2 s;
        TImage *red = s.Image("Image45");
        QSignalSpy started(s.Drag(), &TDragController::DragStarted);
        const int d = QApplication::startDragDistance();
        const QPoint press(10, 10);
        QTest::mousePress(red, Qt::LeftButton, {}, press);
        QTest::mouseMove(red, press + QPoint(d, d));
        QCOMPARE(started.count(), 0);
        QTest::mouseMove(red, press + QPoint(-d, 0));
        QCOMPARE(started.count(), 0);
        QTest::mouseMove(red, press + QPoint(0, d + 1));
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.at(0).at(0).value<QWidget *>(), static_cast<QWidget *>(red));
        // The drag is over (dropped or cancelled): nothing is left behind.
        QTRY_VERIFY(!s.Drag()->Dragging());
        QTest::mouseRelease(red, Qt::LeftButton, {}, press);
        // Another button, or a move without a press, starts nothing.
        QTest::mousePress(red, Qt::RightButton, {}, press);
        QTest::mouseMove(red, press + QPoint(d + 5, 0));
        QTest::mouseRelease(red, Qt::RightButton, {}, press);
        QTest::mouseMove(red, press + QPoint(d + 9, 0));
        QCOMPARE(started.count(), 1);
        QVERIFY(s.boxes.Texts().isEmpty() || !HaveData());
    }
};

QTEST_MAIN(TestStep2Screen)
#include "test_step2_screen.moc"
