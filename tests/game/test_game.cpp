#include "FakeHost.h"
#include "Step9Screen.h"
#include "Image.h"
#include "MessageBoxWatcher.h"

#include <QLCDNumber>
#include <QLabel>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

using Announcement = TSignalGame::Announcement;

namespace {

void ClickAt(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

QList<int> Codes(const FakeHost &host, int from = 0)
{
    QList<int> out;
    for (int i = from; i < host.transfers.size(); ++i)
        out << host.transfers[i].mode * 1000 + host.transfers[i].directCode;
    return out;
}

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void judgingTable_data()
    {
        QTest::addColumn<int>("announcement");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("sound");
        QTest::addColumn<int>("car");
        QTest::newRow("pass at blue") << int(Announcement::Pass) << int(TSignalGame::Blue) << 1 << -1 << 0;
        QTest::newRow("pass at yellow") << int(Announcement::Pass) << int(TSignalGame::Yellow) << -1 << 17 << 2;
        QTest::newRow("pass at red") << int(Announcement::Pass) << int(TSignalGame::Red) << -1 << 17 << 2;
        QTest::newRow("stop at blue") << int(Announcement::Stop) << int(TSignalGame::Blue) << -1 << 13 << 2;
        QTest::newRow("stop at red") << int(Announcement::Stop) << int(TSignalGame::Red) << 1 << -1 << -1;
    }
    void judgingTable()
    {
        QFETCH(int, announcement);
        QFETCH(int, signal);
        const auto j = TSignalGame::Judge(Announcement(announcement), TSignalGame::Signal(signal));
        QTEST(j.scoreChange, "score");
        QTEST(j.soundCode, "sound");
        QTEST(j.carPicture, "car");
    }

    void textsAndClock()
    {
        QCOMPARE(TSignalGame::ScoreText(-3), QStringLiteral("score : -3"));
        QCOMPARE(TSignalGame::ClockText(7), QStringLiteral("07"));
        QCOMPARE(TSignalGame::ClockText(40), QStringLiteral("40"));
        TSignalGame game;
        game.running = true;
        game.secondsLeft = 30;
        int ticks = 0, sounds = 0;
        while (game.running) {
            game.ClockTick();
            ++ticks;
            sounds += game.TickSoundDue();
        }
        QCOMPARE(ticks, 31);
        QCOMPARE(sounds, 11);
    }

    void signalButtonBeforeStartDoesNothing()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep9Screen form(host, nullptr);
        form.show();
        boxes.Clear();
        ClickAt(form.findChild<TImage *>(QStringLiteral("btn2")));
        QVERIFY(host.transfers.isEmpty());
        QCOMPARE(form.Game().signal, TSignalGame::Blue);
        QCOMPARE(boxes.Count(), 0);
    }

    void aGameAtTheSecondSpeed()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep9Screen form(host, nullptr);
        form.show();
        form.findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->setChecked(true);
        form.SetAnnouncementChooser([] { return Announcement::Pass; });
        ClickAt(form.findChild<TImage *>(QStringLiteral("btn1")));
        auto *carTimer = form.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(carTimer->isActive());
        carTimer->stop(); // the car is moved by hand below
        // red, yellow, blue on the lamp, a second apart
        QCOMPARE(Codes(host), (QList<int>{1161, 1185, 1177}));
        QVERIFY(form.Game().running);
        QCOMPARE(form.findChild<QLCDNumber *>(QStringLiteral("LED"))->intValue(), 40);
        QCOMPARE(carTimer->interval(), 400);

        // Blue -> yellow -> red -> blue
        auto *signalButton = form.findChild<TImage *>(QStringLiteral("btn2"));
        for (int i = 0; i < 3; ++i)
            ClickAt(signalButton);
        QCOMPARE(Codes(host, 3), (QList<int>{1185, 1161, 1177}));
        ClickAt(signalButton);
        ClickAt(signalButton); // red now
        QCOMPARE(form.Game().signal, TSignalGame::Red);

        // The car announces a pass and drives through the red signal.
        const int before = int(host.transfers.size());
        for (int frame = 0; frame <= 4; ++frame)
            form.MoveCar();
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("通過!"));
        QCOMPARE(form.Game().score, -1);
        QCOMPARE(Codes(host, before), QList<int>{3017});
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("score : -1"));

        // Stop keeps the score and the display.
        ClickAt(form.findChild<TImage *>(QStringLiteral("Image5")));
        QVERIFY(!form.Game().running);
        QCOMPARE(form.Game().frame, -1);
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("score : -1"));
        ClickAt(signalButton);
        QCOMPARE(form.Game().signal, TSignalGame::Red);
    }

    void theClockEndsTheGameAtZero()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep9Screen form(host, nullptr);
        form.show();
        ClickAt(form.findChild<TImage *>(QStringLiteral("btn1")));
        QVERIFY(form.Game().running);
        for (int i = 0; i < 31; ++i)
            form.TickClock();
        QVERIFY(!form.Game().running);
        QVERIFY(!form.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(!form.findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
        QCOMPARE(form.findChild<QLCDNumber *>(QStringLiteral("LED"))->intValue(), 0);
    }
};

QTEST_MAIN(TestGame)
#include "test_game.moc"
