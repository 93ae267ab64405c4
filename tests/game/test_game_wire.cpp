// What the lamp receives while the signal game is played on the real main
// window, read on a pseudo-terminal that stands in for the serial cable.
#include "Step9Screen.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "PtyLamp.h"
#include "MainWindow.h"
#include "TransferProgressWindow.h"
#include "rs232c.h"

#include <QLCDNumber>
#include <QLabel>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <utility>

using Announcement = TSignalGame::Announcement;

namespace {

const QString kCreateError = QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい");

// The main window on a virtual lamp with the game's page in front.
struct GameOnWire {
    MessageBoxWatcher boxes;
    PtyLamp lamp;
    TMainWindow form;
    TTransferProgressWindow progress{form};
    TStep9Screen *game = nullptr;

    GameOnWire()
    {
        form.AttachProgressWindow(&progress);
        form.OpenLampPort(lamp.Device());
        form.show();
        form.ShowPage(TMainHost::PageStep9);
        game = qobject_cast<TStep9Screen *>(form.Page(TMainHost::PageStep9));
    }

    template <class T = QWidget>
    T *Control(const char *name) const { return game->findChild<T *>(QString::fromLatin1(name)); }
    void Click(const char *name) const
    {
        QWidget *w = Control(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    QByteArray Wire() const { return lamp.Bytes().toHex(' '); }
    QString Score() const { return Control<QLabel>("Label2")->text(); }
    int Display() const { return Control<QLCDNumber>("LED")->intValue(); }
    // Boxes other than the one a data file missing from this build raises.
    QStringList UnexpectedBoxes() const
    {
        QStringList texts = boxes.Texts();
        texts.removeAll(kCreateError);
        return texts;
    }
};

} // namespace

class TestGameWire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void signalsAndMistakesAtEachSpeed_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("carMs");
        QTest::newRow("first speed") << QStringLiteral("RadioButton1") << 30 << 600;
        QTest::newRow("second speed") << QStringLiteral("RadioButton2") << 40 << 400;
        QTest::newRow("third speed") << QStringLiteral("RadioButton3") << 60 << 300;
    }
    void signalsAndMistakesAtEachSpeed()
    {
        QFETCH(QString, radio);
        QFETCH(int, seconds);
        QFETCH(int, carMs);
        GameOnWire g;
        QVERIFY(g.lamp.IsValid());
        QVERIFY(g.form.SerialPort().IsOpen());
        QVERIFY(QTest::qWaitForWindowExposed(&g.form));
        QVERIFY(g.game && g.game->isVisible());
        QTest::mouseClick(g.Control(radio.toLatin1().constData()), Qt::LeftButton, {}, QPoint(8, 11));
        QVERIFY(g.Control<QRadioButton>(radio.toLatin1().constData())->isChecked());

        // Before a start the signal button is dead, on the wire too.
        g.Click("btn2");
        QTest::qWait(200);
        QCOMPARE(g.Wire(), QByteArray());

        // The first car passes, every later one stops.
        g.game->SetAnnouncementChooser([first = true]() mutable {
            return std::exchange(first, false) ? Announcement::Pass : Announcement::Stop;
        });
        g.Click("btn1"); // returns after red, yellow and blue a second each
        QTRY_COMPARE(g.Wire(), QByteArray("01 a1 01 b9 01 b1"));
        // Each colour stays on the lamp for at least its second.
        QVERIFY2(g.lamp.GapMs(2) >= 999, qPrintable(QString::number(g.lamp.GapMs(2))));
        QVERIFY2(g.lamp.GapMs(4) >= 999, qPrintable(QString::number(g.lamp.GapMs(4))));
        QVERIFY(g.game->Game().running);
        QCOMPARE(g.Display(), seconds);
        QCOMPARE(g.Control<QTimer>("Timer1")->interval(), carMs);
        QCOMPARE(g.Score(), QStringLiteral("score : 0"));

        // The first judging is five car steps away: time for five presses.
        g.lamp.Clear();
        for (int i = 0; i < 5; ++i)
            g.Click("btn2");
        QTRY_COMPARE(g.Wire(), QByteArray("01 b9 01 a1 01 b1 01 b9 01 a1"));
        QCOMPARE(g.game->Game().signal, TSignalGame::Red);

        // The car passes at red: one point off and the crash sound on the lamp.
        QTRY_COMPARE_WITH_TIMEOUT(g.Wire(), QByteArray("01 b9 01 a1 01 b1 01 b9 01 a1 03 11"), 6 * carMs + 2000);
        QTRY_COMPARE(g.Score(), QStringLiteral("score : -1"));

        // Back to blue, and the next car stops at it: the other sound.
        g.lamp.Clear();
        g.Click("btn2");
        QTRY_COMPARE(g.Wire(), QByteArray("01 b1"));
        QTRY_COMPARE_WITH_TIMEOUT(g.Wire(), QByteArray("01 b1 03 0d"), 6 * carMs + 2000);
        QTRY_COMPARE(g.Score(), QStringLiteral("score : -2"));

        // Stop: the car stands still and nothing more reaches the lamp.
        g.Click("Image5");
        QVERIFY(!g.game->Game().running);
        g.lamp.Clear();
        g.Click("btn2");
        QTest::qWait(6 * carMs);
        QCOMPARE(g.Wire(), QByteArray());
        QCOMPARE(g.Score(), QStringLiteral("score : -2"));
        QCOMPARE(g.UnexpectedBoxes(), QStringList{});
    }

    void theClockEndsTheGameAndTheLampFallsSilent()
    {
        GameOnWire g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.form));
        // A car that always stops while the signal stays red scores and sends nothing.
        g.game->SetAnnouncementChooser([] { return Announcement::Stop; });
        g.Click("btn1");
        g.Click("btn2");
        g.Click("btn2");
        QTRY_COMPARE(g.Wire(), QByteArray("01 a1 01 b9 01 b1 01 b9 01 a1"));
        QCOMPARE(g.Display(), 30);
        // Skip most of the half minute; the real clock ends the game.
        for (int i = 0; i < 28; ++i)
            g.game->TickClock();
        QCOMPARE(g.Display(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!g.game->Game().running, 5000);
        QCOMPARE(g.Display(), 0);
        QVERIFY(!g.Control<QTimer>("Timer1")->isActive());
        QVERIFY(!g.Control<QTimer>("Timer2")->isActive());
        const QString score = g.Score();

        g.lamp.Clear();
        g.Click("btn2");
        QTest::qWait(1500);
        QCOMPARE(g.Wire(), QByteArray());
        QCOMPARE(g.Score(), score);

        // A new game starts from nothing.
        g.Click("btn1");
        QTRY_COMPARE(g.Wire(), QByteArray("01 a1 01 b9 01 b1"));
        QCOMPARE(g.Score(), QStringLiteral("score : 0"));
        QCOMPARE(g.Display(), 30);
        g.Click("Image5");
        QCOMPARE(g.UnexpectedBoxes(), QStringList{});
    }

    // A press that comes while the previous command is still on the wire
    // (its mode byte out, the pause before the code running) must reach the
    // lamp after it, or the lamp shows another colour than the screen.
    void aPressDuringASendIsNotLost()
    {
        GameOnWire g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.form));
        g.game->SetAnnouncementChooser([] { return Announcement::Stop; });
        g.Click("btn1");
        g.lamp.Clear();
        bool wireWasBusy = false;
        QTimer::singleShot(15, g.game, [&] {
            wireWasBusy = g.form.IsTransferring();
            g.Click("btn2");
        });
        g.Click("btn2");
        QVERIFY(wireWasBusy);
        QCOMPARE(g.game->Game().signal, TSignalGame::Red);
        QTRY_COMPARE(g.Wire(), QByteArray("01 b9 01 a1"));
        g.Click("Image5");
    }
};

QTEST_MAIN(TestGameWire)
#include "test_game_wire.moc"
