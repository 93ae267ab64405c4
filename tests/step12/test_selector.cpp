#include "DragController.h"
#include "Image.h"
#include "Selector.h"

#include <QApplication>
#include <QBitmap>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList Items(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items.append(QString::number(i));
    return items;
}

const QPoint FirstArrow(4, 12);
const QPoint SecondArrow(114, 12);

// A drop made the way the platform delivers one, carrying what a drag carries.
bool DeliverDrop(QWidget *target, const QWidget *dragged, QPoint at)
{
    auto mime = TDragController::MimeFor(dragged);
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class TestStepWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newSelectorDefaults()
    {
        TSelector s;
        QCOMPARE(s.size(), QSize(120, 24));
        QCOMPARE(s.ItemIndex(), -1);
        QCOMPARE(s.BtnSize(), 12);
        QCOMPARE(s.SelectMode(), TSelector::smSingle);
        QCOMPARE(s.Orientation(), TSelector::soHorizontal);
        QVERIFY(s.Values().isEmpty());
    }

    void arrowsStepAndWrap_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("second");
        QTest::addColumn<int>("result");
        QTest::newRow("8 items, last, second arrow") << 8 << 7 << true << 0;
        QTest::newRow("8 items, 0, first arrow") << 8 << 0 << false << 7;
        QTest::newRow("12 items, none, first arrow") << 12 << -1 << false << 11;
        QTest::newRow("12 items, none, second arrow") << 12 << -1 << true << 0;
        QTest::newRow("8 items, 3, second arrow") << 8 << 3 << true << 4;
        QTest::newRow("8 items, 3, first arrow") << 8 << 3 << false << 2;
        QTest::newRow("no items") << 0 << -1 << true << -1;
    }
    void arrowsStepAndWrap()
    {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(bool, second);
        QFETCH(int, result);
        // The arrow keys step as the arrow buttons do.
        for (const bool byKey : {false, true}) {
            TSelector s;
            s.SetValues(Items(count));
            s.SetItemIndex(start);
            s.show();
            QVERIFY(QTest::qWaitForWindowExposed(&s));
            QSignalSpy clicks(&s, &TSelector::Click);
            if (byKey)
                QTest::keyClick(&s, second ? Qt::Key_Right : Qt::Key_Up);
            else
                QTest::mouseClick(&s, Qt::LeftButton, {}, second ? SecondArrow : FirstArrow);
            QCOMPARE(s.ItemIndex(), result);
            QCOMPARE(clicks.count(), 1);
            QCOMPARE(s.PressedArrow(), 0);
        }
    }

    void quickClicksStepOncePerClick()
    {
        TSelector s;
        s.SetValues(Items(8));
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QSignalSpy clicks(&s, &TSelector::Click);
        QSignalSpy doubles(&s, &TSelector::DblClick);
        // Through the window, as the platform delivers a double click: press,
        // release, press, double click, release.
        QTest::mouseDClick(s.windowHandle(), Qt::LeftButton, {}, SecondArrow);
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(s.ItemIndex(), 1);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(s.PressedArrow(), 0);
    }

    void pressOutsideTheArrowsDoesNotStep()
    {
        TSelector s;
        s.SetValues(Items(3));
        s.show();
        QSignalSpy clicks(&s, &TSelector::Click);
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(60, 12));
        QCOMPARE(s.ItemIndex(), -1);
        QCOMPARE(clicks.count(), 0);
        // Pressed on an arrow, released outside: no click.
        QTest::mousePress(&s, Qt::LeftButton, {}, FirstArrow);
        QCOMPARE(s.PressedArrow(), 1);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(200, 12));
        QCOMPARE(s.ItemIndex(), -1);
        QCOMPARE(s.PressedArrow(), 0);
    }

    void itemIndexRule()
    {
        TSelector s;
        s.SetValues(Items(8));
        s.SetItemIndex(5);
        s.SetItemIndex(8);
        QCOMPARE(s.ItemIndex(), 5);
        s.SetItemIndex(-2);
        QCOMPARE(s.ItemIndex(), 5);
        s.SetItemIndex(-1);
        QCOMPARE(s.ItemIndex(), -1);
        s.SetItemIndex(7);
        QCOMPARE(s.SelectedText(), QStringLiteral("7"));
        s.SetValues(Items(2));
        QCOMPARE(s.ItemIndex(), -1);
        s.SetItemIndex(1);
        s.RemoveValue(1);
        QCOMPARE(s.ItemIndex(), -1);
        QCOMPARE(s.SelectedText(), QString());
    }

    void disabledSelectorIgnoresClicksAndLooksEngraved()
    {
        TSelector s;
        s.SetValues({QStringLiteral("ABC")});
        s.SetItemIndex(0);
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const QImage enabledLook = s.grab().toImage();
        s.setEnabled(false);
        QSignalSpy clicks(&s, &TSelector::Click);
        QTest::mouseClick(&s, Qt::LeftButton, {}, SecondArrow);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(s.ItemIndex(), 0);
        QVERIFY(s.grab().toImage() != enabledLook);
    }

    void multiModeItemClickSelectsOnceAndVerticalArrows()
    {
        TSelector s;
        s.resize(240, 24);
        s.SetSelectMode(TSelector::smMulti);
        s.SetValues(Items(3));
        s.show();
        const QVector<QRect> rects = s.ItemRects();
        QCOMPARE(rects.size(), 3);
        QVERIFY(rects[0].left() > s.BtnSize());
        QVERIFY(rects[2].right() < 240 - s.BtnSize());
        QSignalSpy clicks(&s, &TSelector::Click);
        QTest::mouseClick(&s, Qt::LeftButton, {}, rects[2].center());
        QCOMPARE(s.ItemIndex(), 2);
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(&s, Qt::LeftButton, {}, rects[0].center());
        QCOMPARE(s.ItemIndex(), 0);
        QCOMPARE(clicks.count(), 2);

        TSelector v;
        v.resize(24, 120);
        v.SetOrientation(TSelector::soVertical);
        v.SetValues(Items(4));
        v.show();
        QTest::mouseClick(&v, Qt::LeftButton, {}, QPoint(12, 115));
        QCOMPARE(v.ItemIndex(), 0);
        QTest::mouseClick(&v, Qt::LeftButton, {}, QPoint(12, 3));
        QCOMPARE(v.ItemIndex(), 3);
    }

    void dragImageMakesWhiteTransparent()
    {
        QPixmap picture(10, 10);
        picture.fill(Qt::white);
        {
            QPainter p(&picture);
            p.fillRect(2, 2, 4, 4, Qt::red);
        }
        TDragController drag;
        drag.SetDragImage(picture, Qt::white, QPoint(3, 4));
        QCOMPARE(drag.HotSpot(), QPoint(3, 4));
        const QImage mask = drag.DragImage().mask().toImage();
        QVERIFY(!mask.isNull());
        QVERIFY(mask.pixelIndex(0, 0) != mask.pixelIndex(3, 3));
        QCOMPARE(drag.DragImage().toImage().hasAlphaChannel() ? qAlpha(drag.DragImage().toImage().pixel(0, 0)) : 0, 0);
    }

    void oneDragObjectAtATime()
    {
        QWidget chip;
        chip.setObjectName(QStringLiteral("Image45"));
        TDragController drag;
        QSignalSpy started(&drag, &TDragController::DragStarted);
        TDragObj &obj = drag.CreateDragObject(&chip);
        QCOMPARE(obj.Control(), &chip);
        QVERIFY(drag.Dragging());
        QCOMPARE(started.count(), 1);
        QVERIFY_THROWS_EXCEPTION(TDragAssertion, drag.CreateDragObject(&chip));
        drag.EndDrag();
        QVERIFY(!drag.Dragging());
        QVERIFY(drag.CurrentDragObject() == nullptr);
        drag.CreateDragObject(&chip);
        QVERIFY(drag.Dragging());
        drag.EndDrag();
    }

    void runDragLeavesNothingBehindAndRefusesASecondObject()
    {
        QWidget chip;
        chip.setObjectName(QStringLiteral("Image45"));
        QPixmap picture(4, 4);
        picture.fill(Qt::red);
        TDragController drag;
        // The offscreen platform ends a drag at once, with nothing dropped.
        QVERIFY(!drag.RunDrag(&chip, picture, QPoint(1, 1)));
        QVERIFY(!drag.Dragging());
        QVERIFY(drag.CurrentDragObject() == nullptr);
        drag.CreateDragObject(&chip);
        QVERIFY_THROWS_EXCEPTION(TDragAssertion, drag.RunDrag(&chip, picture, QPoint(1, 1)));
        QVERIFY(drag.CurrentDragObject() != nullptr);
        drag.EndDrag();
    }

    void pressRuleUsesThePlatformThreshold()
    {
        const int d = QApplication::startDragDistance();
        TDragPress press;
        QVERIFY(!press.MovedPastThreshold(QPoint(100, 100)));
        press.Press(Qt::RightButton, QPoint(10, 10));
        QVERIFY(!press.Pressed());
        press.Press(Qt::LeftButton, QPoint(10, 10));
        QVERIFY(!press.MovedPastThreshold(QPoint(10 + d, 10 - d)));
        QVERIFY(press.MovedPastThreshold(QPoint(10, 10 - d - 1)));
        QVERIFY(!press.MovedPastThreshold(QPoint(10, 10 - d - 5)));
        press.Press(Qt::LeftButton, QPoint(10, 10));
        press.Release();
        QVERIFY(!press.MovedPastThreshold(QPoint(100, 100)));
    }

    void dropsOnlyWhereTheScreenSays()
    {
        QWidget screen;
        auto *frame = new QWidget(&screen);
        auto *other = new QWidget(&screen);
        QWidget red;
        red.setObjectName(QStringLiteral("Image45"));
        QWidget green;
        green.setObjectName(QStringLiteral("Image46"));
        TDragController drag;
        QStringList dropped;
        drag.AcceptDropsOn(
            frame, [](const QString &name) { return name == QStringLiteral("Image45"); },
            [&dropped](const QString &name, QPoint) { dropped.append(name); });
        QSignalSpy moves(&drag, &TDragController::OnDragMove);
        QVERIFY(frame->acceptDrops());
        QVERIFY(!other->acceptDrops());
        QVERIFY(DeliverDrop(frame, &red, QPoint(5, 6)));
        QCOMPARE(dropped, QStringList{QStringLiteral("Image45")});
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(0).toBool(), true);
        QCOMPARE(moves.at(0).at(1).toInt(), 5);
        QVERIFY(!DeliverDrop(frame, &green, QPoint(5, 6)));
        QCOMPARE(moves.last().at(0).toBool(), false);
        // Data that is not one of this program's drags is refused.
        QMimeData foreign;
        foreign.setText(QStringLiteral("Image45"));
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &foreign, Qt::LeftButton, {});
        QApplication::sendEvent(frame, &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(dropped.size(), 1);
    }

    // A chip placed by keys: the arrows go by the places' positions (a grid
    // of 3 x 2 with one place that does not take the chip), Enter drops
    // through the screen's own drop function, Escape puts the chip back, and
    // the next pick starts after the place used last.
    void chipsArePlacedByKeys()
    {
        QWidget screen;
        screen.resize(400, 300);
        auto *chip = new TImage(&screen, QStringLiteral("Image45"));
        chip->setGeometry(0, 0, 40, 40);
        TDragController drag;
        QStringList dropped;
        std::vector<TImage *> places;
        for (int i = 0; i < 6; ++i) {
            auto *place = new TImage(&screen, QStringLiteral("Place%1").arg(i));
            place->setGeometry(100 + (i % 3) * 60, 100 + (i / 3) * 60, 50, 50);
            drag.AcceptDropsOn(
                place, [i](const QString &) { return i != 4; },
                [&dropped, i](const QString &name, QPoint) { dropped << QStringLiteral("%1 on %2").arg(name).arg(i); });
            places.push_back(place);
        }
        chip->SetPicksUp(true);
        chip->SetRole(QAccessible::ListItem);
        QObject::connect(chip, &TImage::PickUp, &drag, [&drag, chip] { drag.PickUp(chip); });
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        chip->setFocus();

        QTest::keyClick(chip, Qt::Key_Space);
        QCOMPARE(drag.HeldChip(), chip);
        QVERIFY(chip->IsHeld());
        QCOMPARE(QApplication::focusWidget(), places[0]);
        for (const auto &[key, expected] : std::vector<std::pair<Qt::Key, int>>{
                 {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 5}, {Qt::Key_Left, 3}, {Qt::Key_Up, 0},
                 {Qt::Key_Left, 5}}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), places[static_cast<size_t>(expected)]);
        }
        QTest::keyClick(places[5], Qt::Key_Return);
        QCOMPARE(dropped, QStringList{QStringLiteral("Image45 on 5")});
        QVERIFY(!chip->IsHeld());
        QCOMPARE(QApplication::focusWidget(), chip);

        // The place after the last one used, round to the first.
        QTest::keyClick(chip, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), places[0]);
        QTest::keyClick(places[0], Qt::Key_Escape);
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(drag.HeldChip(), nullptr);
        QCOMPARE(QApplication::focusWidget(), chip);
        // Going elsewhere puts it back too, and the keyboard stays there.
        QTest::keyClick(chip, Qt::Key_Space);
        auto *elsewhere = new QWidget(&screen);
        elsewhere->setFocusPolicy(Qt::StrongFocus);
        elsewhere->show();
        elsewhere->setFocus();
        QCOMPARE(drag.HeldChip(), nullptr);
        QVERIFY(!chip->IsHeld());
        QCOMPARE(QApplication::focusWidget(), elsewhere);
    }
};

QTEST_MAIN(TestStepWidgets)
#include "test_selector.moc"
