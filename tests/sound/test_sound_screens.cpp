#include "AssetPath.h"
#include "DragController.h"

#include <QApplication>
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "NoteStaff.h"
#include "Step6Screen.h"
#include "Step7Screen.h"

#include <QDropEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

// A click where the pupil would click: on whatever lies uppermost at that
// point of the screen, as the window system would deliver it.
void ClickAt(QWidget &screen, QPoint at)
{
    QWidget *target = screen.childAt(at);
    QVERIFY2(target, "nothing at that point");
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&screen, at));
}

template <typename T = TImage>
T *Control(QWidget &screen, const QString &name)
{
    T *control = screen.findChild<T *>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

void Click(QWidget &screen, const QString &name)
{
    QWidget *control = Control<QWidget>(screen, name);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
}

QString Notes(const QString &letters)
{
    return letters + QString(79 - letters.size(), u'?');
}

QStringList Fillers(int count, const char *value)
{
    return QStringList(count, QString::fromLatin1(value));
}

void DropPalette(TStep7Screen &form, int paletteIndex, int keyNumber)
{
    QWidget *chip = Control<QWidget>(form, QStringLiteral("Image%1").arg(67 + paletteIndex));
    QWidget *key = Control<QWidget>(form, QStringLiteral("Image%1").arg(keyNumber));
    const auto mime = TDragController::MimeFor(chip);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(key, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(key, &drop);
    QVERIFY(drop.isAccepted());
}

bool HaveData()
{
    return !ResolveAsset(QStringLiteral("picture\\SOUND\\off.bmp")).isEmpty();
}

} // namespace

class TestSoundScreens : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qRegisterMetaType<QWidget *>();
    }

    // Every control lies inside the page and none hides another (the black
    // keys over the white ones and the two upper pages excepted).
    void controlsFitThePageWithoutOverlapping()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep6Screen step6(host, nullptr);
        TStep7Screen step7(host, nullptr);
        const struct {
            QWidget *form;
            QStringList names;
            int firstKey, lastKey;
        } screens[] = {
            {&step6, {QStringLiteral("RadioGroup1")}, 53, 66},
            {&step7,
             {QStringLiteral("RadioGroup1"), QStringLiteral("RadioGroup2"), QStringLiteral("Label1"),
              QStringLiteral("Image15"), QStringLiteral("Image20"), QStringLiteral("Image16"), QStringLiteral("Image47"),
              QStringLiteral("Image17"), QStringLiteral("Image18"), QStringLiteral("Image19"), QStringLiteral("Image43"),
              QStringLiteral("NotesPage")},
             1, 14},
        };
        for (const auto &screen : screens) {
            QList<QRect> areas;
            QRect keyboard;
            for (int n = screen.firstKey; n <= screen.lastKey; ++n)
                if (n != 61)  // STEP6 numbers its keys 53 to 60 and 62 to 66
                    keyboard |= Control<QWidget>(*screen.form, QStringLiteral("Image%1").arg(n))->geometry();
            areas.append(keyboard);
            for (const QString &name : screen.names)
                areas.append(Control<QWidget>(*screen.form, name)->geometry());
            for (qsizetype i = 0; i < areas.size(); ++i) {
                QVERIFY2(QRect(0, 0, 720, 430).contains(areas[i]), qPrintable(screen.names.value(i - 1)));
                for (qsizetype j = i + 1; j < areas.size(); ++j)
                    QVERIFY2(!areas[i].intersects(areas[j]),
                             qPrintable(screen.names.value(i - 1, QStringLiteral("keyboard")) + u' ' + screen.names[j - 1]));
            }
        }
    }

    void step6KeysSendTheirNoteInDirectSoundMode()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep6Screen form(host, nullptr);
        form.show();
        boxes.Clear();

        Click(form, QStringLiteral("Image53"));  // do, short by default
        QCOMPARE(host.transfers.size(), 1);
        QCOMPARE(host.transfers[0].mode, 3);
        QCOMPARE(host.transfers[0].directCode, 16);

        Click(form, QStringLiteral("RadioButton2"));  // normal
        Click(form, QStringLiteral("Image64"));       // fa#
        QCOMPARE(host.transfers.last().directCode, 38);

        Click(form, QStringLiteral("LengthPicture3"));  // the picture of "長い"
        QVERIFY(Control<QRadioButton>(form, QStringLiteral("RadioButton3"))->isChecked());
        Click(form, QStringLiteral("Image60"));  // high do
        QCOMPARE(host.transfers.last().directCode, 60);
        QCOMPARE(form.CurrentNoteCode(), 60);
        QCOMPARE(boxes.Count(), 0);
    }

    // Tab walks the keys from low to high by their note names; Space plays the one it is on.
    void step6KeysPlayFromTheKeyboard()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep6Screen form(host, nullptr);
        form.show();
        QApplication::setActiveWindow(&form);
        Control<TImage>(form, QStringLiteral("Image53"))->setFocus(Qt::TabFocusReason);
        QStringList heard{QApplication::focusWidget()->accessibleName()};
        for (int key = 1; key < TStep6Screen::KeyCount; ++key) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            heard << QApplication::focusWidget()->accessibleName();
        }
        QCOMPARE(heard, QStringList({"ド", "ド#", "レ", "レ#", "ミ", "ファ", "ファ#", "ソ", "ソ#", "ラ", "ラ#", "シ", "高いド"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(host.transfers.size(), 1);
        QCOMPARE(host.transfers.last().directCode, 28);  // high do, short
    }

    void step6BlackKeysLieAboveWhiteOnesAndNamesTakeNoClicks()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep6Screen form(host, nullptr);
        form.show();
        QWidget *doKey = Control<QWidget>(form, QStringLiteral("Image53"));
        QWidget *doSharp = Control<QWidget>(form, QStringLiteral("Image62"));
        const QRect overlap = doKey->geometry() & doSharp->geometry();
        QVERIFY(!overlap.isEmpty());
        QCOMPARE(doKey->size(), QSize(44, 144));
        QCOMPARE(doSharp->size(), QSize(30, 90));
        QCOMPARE(doSharp->y(), doKey->y());
        ClickAt(form, overlap.center());
        QCOMPARE(host.transfers.last().directCode, 17);

        // Below the black keys a press on white key "re" (and on its name) is re.
        QWidget *re = Control<QWidget>(form, QStringLiteral("Image54"));
        ClickAt(form, re->geometry().center() + QPoint(0, 50));
        QCOMPARE(host.transfers.last().directCode, 18);
        auto *name = Control<QLabel>(form, QStringLiteral("Image54Name"));
        if (!name->pixmap().isNull()) {
            ClickAt(form, re->mapTo(&form, name->geometry().center()));
            QCOMPARE(host.transfers.last().directCode, 18);
        }
    }

    void step6IgnoresAPressWhileTheLastNoteIsOnTheWire()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep6Screen form(host, nullptr);
        form.show();
        host.busy = true;
        Click(form, QStringLiteral("Image55"));
        QVERIFY(host.transfers.isEmpty());
        host.busy = false;
        Click(form, QStringLiteral("Image55"));
        QCOMPARE(host.transfers.size(), 1);
        QCOMPARE(host.transfers[0].directCode, 20);
    }

    void step7DoReMiIsTransferredAndRunWithoutLight()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        boxes.Clear();
        QCOMPARE(Control<QLabel>(form, QStringLiteral("Label1"))->text(), QStringLiteral("0"));
        for (const char *key : {"Image1", "Image3", "Image5"})
            Click(form, QString::fromLatin1(key));
        QCOMPARE(Control<TNoteStaff>(form, QStringLiteral("RichEdit1"))->Text(), Notes(QStringLiteral("ACE")));
        QCOMPARE(Control<QLabel>(form, QStringLiteral("Label1"))->text(), QStringLiteral("総命令数　3個"));

        QTest::keyClick(&form, Qt::Key_F6);
        QCOMPARE(host.transfers.size(), 1);
        QCOMPARE(host.transfers[0].mode, 4);
        QCOMPARE(host.transfers[0].program,
                 QStringList({QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20")}) + Fillers(17, "222"));
        QVERIFY(host.transfers[0].light.isEmpty());
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(host.executes, QList<int>({7}));
        QCOMPARE(boxes.Count(), 0);
    }

    void step7LengthsAndTheRestKey()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        Click(form, QStringLiteral("RadioButton2"));
        Click(form, QStringLiteral("Image13"));
        Click(form, QStringLiteral("Image14"));
        Click(form, QStringLiteral("LengthPicture3"));
        Click(form, QStringLiteral("Image14"));
        QCOMPARE(form.Melody().Text(), Notes(QStringLiteral("opn")));
        Click(form, QStringLiteral("Image18"));
        QCOMPARE(host.transfers.last().program.mid(0, 3),
                 QStringList({QStringLiteral("44"), QStringLiteral("45"), QStringLiteral("61")}));
        // The rest stands apart, 8 pixels right of high do.
        QCOMPARE(Control<QWidget>(form, QStringLiteral("Image14"))->x(),
                 Control<QWidget>(form, QStringLiteral("Image13"))->geometry().right() + 1 + 8);
    }

    void step7LedModeSendsTheLightListAndRunsWith9()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        Click(form, QStringLiteral("RadioButton4"));  // "LEDあり"
        QVERIFY(form.LedMode());
        QVERIFY(form.PalettePageShown());
        QVERIFY(!Control<QWidget>(form, QStringLiteral("Image43"))->isHidden());
        for (int key = 1; key <= 14; ++key)
            QCOMPARE(form.KeyColours()[static_cast<size_t>(key - 1)], 64);
        if (HaveData()) {
            QCOMPARE(Control(form, QStringLiteral("Image1"))->PicturePath(), QStringLiteral("picture\\SOUND\\off.bmp"));
            QCOMPARE(Control(form, QStringLiteral("Image2"))->PicturePath(), QStringLiteral("picture\\SOUND\\S_off.bmp"));
            QCOMPARE(Control(form, QStringLiteral("Image14"))->PicturePath(), QStringLiteral("picture\\SOUND\\off.bmp"));
        }

        Click(form, QStringLiteral("Image1"));
        Click(form, QStringLiteral("Image3"));
        Click(form, QStringLiteral("Image5"));
        QTest::keyClick(&form, Qt::Key_F6);
        QCOMPARE(host.transfers.last().light, Fillers(14, "64") + Fillers(6, "255"));
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(host.executes.last(), 9);

        DropPalette(form, 0, 1);  // red on do
        DropPalette(form, 7, 2);  // off on do#
        DropPalette(form, 5, 14); // light blue on the rest
        QCOMPARE(form.KeyColours()[0], 16);
        QCOMPARE(form.KeyColours()[13], 3);
        if (HaveData())
            QCOMPARE(Control(form, QStringLiteral("Image1"))->PicturePath(), QStringLiteral("picture\\SOUND\\red.bmp"));
        Click(form, QStringLiteral("Image18"));
        QCOMPARE(host.transfers.last().light.mid(0, 3),
                 QStringList({QStringLiteral("16"), QStringLiteral("64"), QStringLiteral("64")}));
        QCOMPARE(host.transfers.last().light.at(13), QStringLiteral("3"));

        // Markers follow after the back button: do red, re and mi gray.
        Click(form, QStringLiteral("Image39"));
        QVERIFY(!form.PalettePageShown());
        auto *first = Control<QFrame>(form, QStringLiteral("Marker1"));
        QVERIFY(first->isVisible());
        QCOMPARE(first->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(Control<QFrame>(form, QStringLiteral("Marker2"))->palette().color(QPalette::Window),
                 QColor(128, 128, 128));
        QVERIFY(!Control<QFrame>(form, QStringLiteral("Marker4"))->isVisible());

        // Off and on again: every colour is lost.
        Click(form, QStringLiteral("RadioButton5"));
        QVERIFY(!form.LedMode());
        QVERIFY(!Control<QWidget>(form, QStringLiteral("MarkerRow1"))->isVisible());
        QVERIFY(Control<QWidget>(form, QStringLiteral("Image43"))->isHidden());
        for (const int colour : form.KeyColours())
            QCOMPARE(colour, 0);
        Click(form, QStringLiteral("LedPicture1"));
        QVERIFY(form.LedMode());
        for (const int colour : form.KeyColours())
            QCOMPARE(colour, 64);
    }

    void step7PaletteDragStartsPastTheThreshold()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        Click(form, QStringLiteral("RadioButton4"));
        auto *drag = form.findChild<TDragController *>();
        QSignalSpy started(drag, &TDragController::DragStarted);
        TImage *green = Control(form, QStringLiteral("Image68"));
        const int d = QApplication::startDragDistance();
        const QPoint press(10, 10);
        QTest::mousePress(green, Qt::LeftButton, {}, press);
        QTest::mouseMove(green, press + QPoint(d, -d));
        QCOMPARE(started.count(), 0);
        QTest::mouseMove(green, press + QPoint(d + 1, 0));
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.at(0).at(0).value<QWidget *>(), static_cast<QWidget *>(green));
        QTRY_VERIFY(!drag->Dragging());
        QTest::mouseRelease(green, Qt::LeftButton, {}, press);
        QTest::mouseMove(green, press + QPoint(d + 9, 0));
        QCOMPARE(started.count(), 1);

        // Only the palette's pictures give colours: a dragged key gives none.
        const auto mime = TDragController::MimeFor(Control<QWidget>(form, QStringLiteral("Image2")));
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(Control<QWidget>(form, QStringLiteral("Image1")), &drop);
        QCOMPARE(form.KeyColours()[0], 64);
    }

    void step7ANoteGoesToTheCursorNeverBeyondTheLast()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        auto *staff = Control<TNoteStaff>(form, QStringLiteral("RichEdit1"));
        Click(form, QStringLiteral("Image1"));
        Click(form, QStringLiteral("Image3"));
        QTest::mouseClick(staff, Qt::LeftButton, {}, QPoint(600, 130));  // far beyond the notes
        QCOMPARE(form.Melody().Cursor(), 2);
        QCOMPARE(staff->Caret(), 2);
        QTest::mouseClick(staff, Qt::LeftButton, {}, QPoint(2, 20));  // before the first note
        QCOMPARE(form.Melody().Cursor(), 0);
        Click(form, QStringLiteral("Image5"));
        QCOMPARE(form.Melody().Text(), Notes(QStringLiteral("EAC")));
        QTest::mouseClick(staff, Qt::LeftButton, {}, QPoint(2, 20));
        boxes.Clear();
        Click(form, QStringLiteral("Image47"));
        QCOMPARE(boxes.Texts(), QStringList({QStringLiteral("削除する命令がありません。")}));
        QCOMPARE(form.Melody().Count(), 3);
        QTest::mouseClick(staff, Qt::LeftButton, {}, QPoint(2 * 25, 20));
        Click(form, QStringLiteral("Image47"));
        QCOMPARE(form.Melody().Text(), Notes(QStringLiteral("EC")));
        QCOMPARE(Control<QLabel>(form, QStringLiteral("Label1"))->text(), QStringLiteral("総命令数　2個"));
    }

    void step7RefusalsSayWhy()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        boxes.Clear();
        Click(form, QStringLiteral("Image16"));
        Click(form, QStringLiteral("Image18"));
        Click(form, QStringLiteral("Image19"));
        QCOMPARE(boxes.Texts(), QStringList({QStringLiteral("再生する命令がありません\n命令を入力して下さい"),
                                              QStringLiteral("命令がありません。音を入力して下さい"),
                                              QStringLiteral("プログラムが転送されてません\nプログラムを転送してください")}));
        QVERIFY(host.transfers.isEmpty());
        QVERIFY(host.executes.isEmpty());

        for (int i = 0; i < 79; ++i)
            Click(form, QStringLiteral("Image12"));
        QCOMPARE(boxes.Count(), 3);
        Click(form, QStringLiteral("Image12"));
        QCOMPARE(boxes.Last(), QStringLiteral("これ以上命令を追加できません。"));
        QCOMPARE(form.Melody().Count(), 79);
        QTest::keyClick(&form, Qt::Key_F6);
        QCOMPARE(host.transfers.last().program.size(), 80);
        QCOMPARE(host.transfers.last().program.last(), QStringLiteral("222"));

        // Delete all empties ProgramList, so execute refuses again.
        Click(form, QStringLiteral("Image17"));
        QVERIFY(host.ProgramList.isEmpty());
        QCOMPARE(form.Melody().Text(), QString(79, u'?'));
        QCOMPARE(Control<QLabel>(form, QStringLiteral("Label1"))->text(), QStringLiteral("0"));
        boxes.Clear();
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(boxes.Last(), QStringLiteral("プログラムが転送されてません\nプログラムを転送してください"));
        QCOMPARE(host.executes.size(), 0);
    }

    void step7IgnoresWhatWouldChangeTheListsDuringATransfer()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        TStep7Screen form(host, nullptr);
        form.show();
        Click(form, QStringLiteral("Image1"));
        Click(form, QStringLiteral("Image18"));
        host.busy = true;
        QTest::keyClick(&form, Qt::Key_F6);
        Click(form, QStringLiteral("Image18"));
        Click(form, QStringLiteral("Image17"));
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(host.transfers.size(), 1);
        QVERIFY(!host.ProgramList.isEmpty());
        QVERIFY(host.executes.isEmpty());
        QCOMPARE(form.Melody().Count(), 1);
    }

    void step7NoteFontLivesAsLongAsTheScreen()
    {
        if (ResolveAsset(QStringLiteral("Note.TTF")).isEmpty())
            QSKIP("the data files are not built");
        MessageBoxWatcher boxes;
        FakeHost host;
        {
            TStep7Screen form(host, nullptr);
            QVERIFY(QFontDatabase::families().contains(QStringLiteral("KiraNote")));
            QCOMPARE(Control<TNoteStaff>(form, QStringLiteral("RichEdit1"))->font().family(), QStringLiteral("KiraNote"));
        }
        QVERIFY(!QFontDatabase::families().contains(QStringLiteral("KiraNote")));
    }

    void step7RecordRestoresLedModeColoursAndMarkers()
    {
        MessageBoxWatcher boxes;
        FakeHost host;
        QStringList lines;
        {
            TStep7Screen form(host, nullptr);
            form.show();
            Click(form, QStringLiteral("RadioButton4"));
            DropPalette(form, 2, 3);  // blue on re
            Click(form, QStringLiteral("Image39"));
            Click(form, QStringLiteral("Image3"));
            Click(form, QStringLiteral("Image1"));
            lines = form.RecordLines();
        }
        QCOMPARE(lines.size(), 18);
        QCOMPARE(lines.mid(0, 4), QStringList({QStringLiteral("STEP7"), Notes(QStringLiteral("CA")),
                                               QStringLiteral("///"), QStringLiteral("1")}));
        QCOMPARE(lines.at(4 + 2), QStringLiteral("1"));
        QCOMPARE(lines.at(4), QStringLiteral("64"));

        TStep7Screen form(host, nullptr);
        form.show();
        const auto read = ReadStep7Record(lines);
        QVERIFY(read.record);
        form.ApplyRecord(*read.record);
        QVERIFY(form.LedMode());
        QVERIFY(Control<QRadioButton>(form, QStringLiteral("RadioButton4"))->isChecked());
        QVERIFY(!form.PalettePageShown());
        QCOMPARE(form.KeyColours()[2], 1);
        QCOMPARE(form.Melody().Cursor(), 2);
        QCOMPARE(Control<QFrame>(form, QStringLiteral("Marker1"))->palette().color(QPalette::Window), QColor(0, 0, 255));
        QVERIFY(Control<QFrame>(form, QStringLiteral("Marker2"))->isVisible());
        QVERIFY(!Control<QWidget>(form, QStringLiteral("Image43"))->isHidden());
        QCOMPARE(Control<QLabel>(form, QStringLiteral("Label1"))->text(), QStringLiteral("総命令数　2個"));

        // A file saved without light switches the light off.
        const auto plain = ReadStep7Record(QStringList({QStringLiteral("STEP7"), Notes(QStringLiteral("A")),
                                                        QStringLiteral("///"), QStringLiteral("0")}) +
                                           Fillers(14, "0"));
        QVERIFY(plain.record);
        form.ApplyRecord(*plain.record);
        QCOMPARE(form.Melody().Text(), Notes(QStringLiteral("A")));
        QVERIFY(!form.LedMode());
        QVERIFY(!Control<QWidget>(form, QStringLiteral("MarkerRow1"))->isVisible());
    }
};

QTEST_MAIN(TestSoundScreens)
#include "test_sound_screens.moc"
