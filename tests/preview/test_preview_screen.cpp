#include "AssetPath.h"
#include "DotMatrixLabel.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "MsTimer.h"
#include "MainWindow.h"
#include "PreviewScreen.h"

#include <QFrame>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>

namespace {

bool HaveData()
{
    return !ResolveAsset(QStringLiteral("picture\\Pre\\start.bmp")).isEmpty();
}

void Click(QWidget *w)
{
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 20));
}

struct Preview {
    MessageBoxWatcher boxes;
    FakeHost host;
    TPreviewScreen form{host, nullptr};

    Preview()
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("the preview screen was not exposed");
        form.FormShow();
        boxes.Clear();
    }
    TImage *Image(const char *name) { return form.findChild<TImage *>(QString::fromLatin1(name)); }
    QString Label(const char *name) { return form.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
    QFrame *Counter() { return form.findChild<QFrame *>(QStringLiteral("Panel1")); }
    TDotMatrixLabel *Stopped() { return form.findChild<TDotMatrixLabel *>(QStringLiteral("LMDLEDLabel1")); }
    TMsTimer *Timer() { return form.findChild<TMsTimer *>(QStringLiteral("MsTimer1")); }
    QString Shown() { return Image("Image4")->PicturePath(); }

    void VerifyIdle()
    {
        QVERIFY(Stopped()->isVisible());
        QVERIFY(!Counter()->isVisible());
        QVERIFY(!Image("Image4")->isVisible());
        QVERIFY(!Image("Image3")->isVisible());
        QVERIFY(Image("Image1")->isEnabled());
        QVERIFY(!Image("Image2")->isEnabled());
        QVERIFY(!Timer()->IsRunning());
    }
};

} // namespace

class TestPreviewScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void layoutAndIdleState()
    {
        Preview s;
        QCOMPARE(s.Image("Image5")->geometry(), QRect(110, 60, 260, 240));
        QCOMPARE(s.Image("Image3")->geometry(), QRect(130, 80, 220, 200));
        QCOMPARE(s.Image("Image4")->geometry(), QRect(130, 80, 220, 200));
        QVERIFY(!s.Image("Image6")->isVisible());
        QCOMPARE(s.Image("Image1")->geometry(), QRect(480, 56, 146, 86));
        QCOMPARE(s.Image("Image2")->geometry(), QRect(480, 160, 146, 86));
        QCOMPARE(s.Image("Image7")->geometry(), QRect(184, 320, 102, 51));
        QCOMPARE(s.Image("Image1")->statusTip(), QStringLiteral("プレビューを再生します"));
        QCOMPARE(s.Image("Image2")->statusTip(), QStringLiteral("プレビューを中止します"));
        QCOMPARE(s.Stopped()->geometry(), QRect(416, 264, 229, 28));
        QCOMPARE(s.Stopped()->Text(), QStringLiteral("PREVIEW STOP"));
        QCOMPARE(s.Counter()->pos(), QPoint(448, 312));
        QCOMPARE(s.Label("Label1"), QStringLiteral("現在の命令"));
        QCOMPARE(s.Label("Label3"), QStringLiteral("個目"));
        QCOMPARE(s.Label("Label4"), QStringLiteral("総命令数"));
        QCOMPARE(s.Label("Label6"), QStringLiteral("個"));
        // the picture area lies above the fade area
        QVERIFY(s.form.children().indexOf(s.Image("Image4")) > s.form.children().indexOf(s.Image("Image3")));
        s.VerifyIdle();
        if (HaveData())
            QCOMPARE(s.boxes.Count(), 0);
    }

    void nothingToPlay()
    {
        Preview s;
        Click(s.Image("Image1"));
        QCOMPARE(s.boxes.Texts(), QStringList{QStringLiteral("プレビューする命令がありません。")});
        s.VerifyIdle();
        s.host.ExpandedList = QStringList{QString(), QString()};
        Click(s.Image("Image1"));
        QCOMPARE(s.boxes.Count(), 2);
        s.VerifyIdle();
    }

    void playsToTheEnd()
    {
        if (!HaveData())
            QSKIP("data files not generated");
        Preview s;
        s.host.ExpandedList = QStringList{QStringLiteral("160")};
        Click(s.Image("Image1"));
        QCOMPARE(s.boxes.Count(), 0);
        QCOMPARE(s.Shown(), QStringLiteral("picture\\Pre\\start.bmp"));
        QVERIFY(s.Image("Image4")->isVisible());
        QVERIFY(s.Counter()->isVisible());
        QVERIFY(!s.Stopped()->isVisible());
        QCOMPARE(s.Label("Label2"), QStringLiteral("0"));
        QCOMPARE(s.Label("Label5"), QStringLiteral("1"));
        QVERIFY(!s.Image("Image1")->isEnabled());
        QVERIFY(s.Image("Image2")->isEnabled());
        QCOMPARE(s.Timer()->Interval(), 1500);

        QTRY_COMPARE_WITH_TIMEOUT(s.Shown(), QStringLiteral("picture\\Pre\\160.bmp"), 5000);
        QCOMPARE(s.Label("Label2"), QStringLiteral("1"));
        QCOMPARE(s.Timer()->Interval(), 500);
        QTRY_VERIFY_WITH_TIMEOUT(s.Stopped()->isVisible(), 5000);
        s.VerifyIdle();
        // a later check on the editor page does not matter; the next play takes the list anew
        s.host.ExpandedList = QStringList{QStringLiteral("96"), QStringLiteral("221")};
        Click(s.Image("Image1"));
        QCOMPARE(s.Label("Label5"), QStringLiteral("2"));
        Click(s.Image("Image2"));
        s.VerifyIdle();
    }

    void stopInAFadeThenPlayAgain()
    {
        if (!HaveData())
            QSKIP("data files not generated");
        Preview s;
        const QImage unlit = s.Image("Image6")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        s.host.ExpandedList = QStringList{QStringLiteral("174"), QStringLiteral("177")};
        Click(s.Image("Image1"));
        QTRY_VERIFY_WITH_TIMEOUT(!s.Image("Image4")->isVisible(), 5000);
        QVERIFY(s.Image("Image3")->isVisible());
        QCOMPARE(s.Label("Label2"), QStringLiteral("1"));
        QCOMPARE(s.Timer()->Interval(), 80);
        QTRY_VERIFY_WITH_TIMEOUT(s.Image("Image3")->pixmap().toImage().convertToFormat(QImage::Format_RGB32) != unlit,
                                 3000);

        Click(s.Image("Image2"));
        s.VerifyIdle();
        QTest::qWait(200); // no tick arrives after the stop
        s.VerifyIdle();

        Click(s.Image("Image1"));
        QCOMPARE(s.Shown(), QStringLiteral("picture\\Pre\\start.bmp"));
        QVERIFY(s.Image("Image4")->isVisible());
        QCOMPARE(s.Label("Label2"), QStringLiteral("0"));
        QCOMPARE(s.Timer()->Interval(), 1500);
        QCOMPARE(s.Image("Image3")->pixmap().toImage().convertToFormat(QImage::Format_RGB32), unlit);
        Click(s.Image("Image2"));
    }

    void backReturnsToTheOpener_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("from STEP5") << 12 << 4 << false;
        // Space plays; Escape from whichever control has the keyboard goes back.
        QTest::newRow("from STEP3, by keys") << 13 << 2 << true;
    }
    void backReturnsToTheOpener()
    {
        QFETCH(int, code);
        QFETCH(int, page);
        QFETCH(bool, byKeys);
        Preview s;
        s.host.PageCode = code;
        s.host.SetStepButtonsEnabled(false, false);
        s.host.ExpandedList = QStringList{QStringLiteral("165")};
        if (byKeys)
            QTest::keyClick(s.Image("Image1"), Qt::Key_Space);
        else
            Click(s.Image("Image1"));
        QVERIFY(s.Timer()->IsRunning());
        if (byKeys)
            QTest::keyClick(s.Image("Image2"), Qt::Key_Escape);
        else
            Click(s.Image("Image7"));
        QCOMPARE(s.host.pagesShown, QList<int>{page});
        QCOMPARE(s.host.PageCode, page);
        QVERIFY(s.host.previousEnabled);
        QVERIFY(s.host.nextEnabled);
        s.VerifyIdle();
    }

    void fromStep5AndBackInTheMainWindow()
    {
        MessageBoxWatcher boxes;
        TMainWindow main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TImage *next = main.findChild<TImage *>(QStringLiteral("Image6"));
        for (int i = 0; i < 4; ++i)
            Click(next);
        QCOMPARE(main.VisiblePage(), 4);
        main.ExpandedList = QStringList{QStringLiteral("161")};
        Click(main.Page(4)->findChild<TImage *>(QStringLiteral("Image17")));
        QCOMPARE(main.VisiblePage(), 10);
        QCOMPARE(main.PageCode, 12);
        TPageScreen *preview = main.Page(10);
        QVERIFY(!main.findChild<TImage *>(QStringLiteral("Image6"))->isEnabled());
        Click(preview->findChild<TImage *>(QStringLiteral("Image1")));
        QVERIFY(preview->findChild<QFrame *>(QStringLiteral("Panel1"))->isVisible());
        Click(preview->findChild<TImage *>(QStringLiteral("Image7")));
        QCOMPARE(main.VisiblePage(), 4);
        QCOMPARE(main.PageCode, 4);
        QVERIFY(main.findChild<TImage *>(QStringLiteral("Image6"))->isEnabled());
        QVERIFY(main.findChild<TImage *>(QStringLiteral("Image7"))->isEnabled());
        QVERIFY(!preview->findChild<TMsTimer *>(QStringLiteral("MsTimer1"))->IsRunning());
    }

    void dotMatrixDrawsBlackDotsOnSilver()
    {
        TDotMatrixLabel label(nullptr, QStringLiteral("LED"));
        label.resize(229, 28);
        label.SetColors(Qt::black, QColor(192, 192, 192));
        auto darkPixels = [&label](int from, int to) {
            const QImage img = label.grab().toImage();
            int dark = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = from; x < to; ++x)
                    dark += qGray(img.pixel(x, y)) < 40;
            return dark;
        };
        QCOMPARE(darkPixels(0, 229), 0);
        label.SetText(QStringLiteral("PREVIEW STOP"));
        QCOMPARE(label.grab().toImage().pixelColor(0, 0), QColor(192, 192, 192));
        // the whole text fits: dots at both ends, none at the very edges
        QVERIFY(darkPixels(0, 20) > 0);
        QVERIFY(darkPixels(209, 229) > 0);
        QCOMPARE(darkPixels(0, 2) + darkPixels(227, 229), 0);

        QCOMPARE(TDotMatrixLabel::GlyphOf(u'p'), TDotMatrixLabel::GlyphOf(u'P'));
        QCOMPARE(TDotMatrixLabel::GlyphOf(u'あ'), TDotMatrixLabel::Glyph{});
        QVERIFY(TDotMatrixLabel::GlyphOf(u'O') != TDotMatrixLabel::GlyphOf(u'0'));
    }
};

QTEST_MAIN(TestPreviewScreen)
#include "test_preview_screen.moc"
