#include "AssetPath.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "MsTimer.h"
#include "TestPictures.h"
#include "Step4Screen.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

class TestStep4Screen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        for (const char *panel : {"red", "green", "blue", "yellow", "purple", "lightblue", "white"})
            m_pictures.Provide(QStringLiteral("Picture\\PANEL\\%1.jpg").arg(QLatin1String(panel)));
        m_pictures.Provide(QStringLiteral("picture\\PANEL\\rei.jpg"));
        m_pictures.Provide(QStringLiteral("Picture\\BUTTON\\meirei_jikkou.jpg"));
        m_pictures.Provide(QStringLiteral("Picture\\PANEL\\preview_flame.jpg"));
        m_pictures.Provide(QStringLiteral("picture\\Pre\\Base.bmp"), Qt::black, {20, 20});
        for (int colour = 0; colour < 7; ++colour)
            m_pictures.Provide(TStep4Screen::PreviewPicture(colour), QColor(200, 100, 50), {20, 20});
    }

    void init()
    {
        m_boxes = std::make_unique<MessageBoxWatcher>();
        m_host = std::make_unique<FakeHost>();
        m_screen = std::make_unique<TStep4Screen>(*m_host, nullptr);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
        QCOMPARE(m_boxes->Count(), 0);
    }

    void cleanup()
    {
        m_screen.reset();
        m_host.reset();
        m_boxes.reset();
    }

    void timedCommandsLightAndPreview_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("duration");
        QTest::newRow("red(1);") << "red(1);" << 161 << 1000;
        QTest::newRow("blue(0.5);") << "blue(0.5);" << 176 << 500;
    }

    void timedCommandsLightAndPreview()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(int, duration);
        Run(command);
        QCOMPARE(m_host->transfers.size(), 1);
        QCOMPARE(m_host->transfers[0].mode, 1);
        QCOMPARE(m_host->transfers[0].directCode, code);
        QCOMPARE(m_boxes->Count(), 0);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(Picture("Image11")->isVisible());
        QVERIFY(!RunButton()->isEnabled());
        // A second press while the preview runs does nothing.
        QTest::mouseClick(RunButton(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_host->transfers.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(RunButton()->isEnabled(), duration + 3000);
        QVERIFY(clock.elapsed() >= duration - 100);
        QVERIFY(!Picture("Image11")->isVisible());
        Run(command);
        QCOMPARE(m_host->transfers.size(), 2);
    }

    void yellowFiveSendsItsCode()
    {
        Run(QStringLiteral("yellow(5);"));
        QCOMPARE(m_host->transfers.size(), 1);
        QCOMPARE(m_host->transfers[0].directCode, 189);
        QVERIFY(m_screen->IsPreviewing());
        QCOMPARE(m_screen->findChild<TMsTimer *>(QStringLiteral("MsTimer1"))->Interval(), 5000);
    }

    void fadesBlendTheColourOverTheBase_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("fadeIn");
        QTest::newRow("green(6);") << "green(6);" << 174 << true;
        QTest::newRow("white(7);") << "white(7);" << 215 << false;
    }

    void fadesBlendTheColourOverTheBase()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(bool, fadeIn);
        Run(command);
        QCOMPARE(m_host->transfers.value(0).directCode, code);
        TImage *fade = Picture("Image10");
        QVERIFY(fade->isVisible());
        QVERIFY(!RunButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(m_screen->Opacity() >= 100 && m_screen->Opacity() <= 155, 5000);
        const int opacity = m_screen->Opacity();
        const QImage shown = fade->pixmap().toImage();
        // Where the base and the colour picture differ most, the fade shows
        // a value well between the two.
        const QImage base = LoadAssetImage(QStringLiteral("picture\\Pre\\Base.bmp"));
        const QImage colour = LoadAssetImage(TStep4Screen::PreviewPicture(fadeIn ? 1 : 6));
        const auto channel = [](QRgb rgb, int c) { return c == 0 ? qRed(rgb) : c == 1 ? qGreen(rgb) : qBlue(rgb); };
        QPoint at;
        int widest = -1;
        int which = 0;
        for (int y = 0; y < qMin(base.height(), colour.height()); ++y) {
            for (int x = 0; x < qMin(base.width(), colour.width()); ++x) {
                for (int c = 0; c < 3; ++c) {
                    const int d = qAbs(channel(base.pixel(x, y), c) - channel(colour.pixel(x, y), c));
                    if (d > widest) {
                        widest = d;
                        at = QPoint(x, y);
                        which = c;
                    }
                }
            }
        }
        QVERIFY(widest >= 40);
        const int low = qMin(channel(base.pixel(at), which), channel(colour.pixel(at), which));
        const int high = qMax(channel(base.pixel(at), which), channel(colour.pixel(at), which));
        const int value = channel(shown.pixel(at), which);
        QVERIFY2(value > low + widest / 5 && value < high - widest / 5, qPrintable(QString::number(value)));
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(RunButton()->isEnabled(), 8000);
        QCOMPARE(m_screen->Opacity(), fadeIn ? 255 : 0);
        QVERIFY(!fade->isVisible());
        QVERIFY(fadeIn ? opacity < 255 : opacity > 0);
        QCOMPARE(m_host->transfers.size(), 1);
    }

    void grammarErrorsSendNothing_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *text : {"red(8);", "red(0);", "red( 1);", "red();", "off(1);", " red(1);", "red(1); ",
                                 "Red(1);", "red(1)", "red(1)x;", ""})
            QTest::newRow(text) << QString::fromLatin1(text);
    }

    void grammarErrorsSendNothing()
    {
        QFETCH(QString, command);
        Run(command);
        QCOMPARE(m_boxes->Texts(), QStringList{QStringLiteral("文法エラー")});
        QVERIFY(m_host->transfers.isEmpty());
        QVERIFY(!m_screen->IsPreviewing());
        QVERIFY(RunButton()->isEnabled());
        QVERIFY(!Picture("Image11")->isVisible());
    }

    void changedRedWordIsTheRedCommand()
    {
        auto *red = m_screen->findChild<QLineEdit *>(QStringLiteral("Edit23"));
        red->clear();
        QTest::keyClicks(red, QStringLiteral("aka"));
        Run(QStringLiteral("red(1);"));
        QCOMPARE(m_boxes->Last(), QStringLiteral("文法エラー"));
        m_boxes->Clear();
        Run(QStringLiteral("aka(2);"));
        QCOMPARE(m_boxes->Count(), 0);
        QCOMPARE(m_host->transfers.value(0).directCode, 162);
    }

private:
    void Run(const QString &command)
    {
        auto *edit = m_screen->findChild<QLineEdit *>(QStringLiteral("Edit22"));
        edit->clear();
        QTest::keyClicks(edit, command);
        QTest::mouseClick(RunButton(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::qWait(30);
    }
    TImage *RunButton() const { return Picture("Image4"); }
    TImage *Picture(const char *name) const
    {
        return m_screen->findChild<TImage *>(QString::fromLatin1(name));
    }

    TestPictures m_pictures;
    std::unique_ptr<MessageBoxWatcher> m_boxes;
    std::unique_ptr<FakeHost> m_host;
    std::unique_ptr<TStep4Screen> m_screen;
};

QTEST_MAIN(TestStep4Screen)
#include "test_step4_screen.moc"
