#include "AssetPath.h"
#include "LoadError.h"
#include "DragController.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "ProgramFile.h"
#include "Selector.h"
#include "Step3Screen.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString EmptyProgram = QStringLiteral("プログラムが入力されてません");
const QString Gap = QStringLiteral("命令と命令の間に空白があります。空白を埋めてください。");

const QString CreateError = QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい");

bool HaveFile(const QString &path)
{
    return !ResolveAsset(path).isEmpty();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Lines(const QList<int> &numbers)
{
    QByteArray bytes;
    for (int v : numbers)
        bytes += QByteArray::number(v) + "\r\n";
    return bytes;
}

QStringList Padded(const QStringList &codes)
{
    QStringList list = codes;
    while (list.size() < 20)
        list << QStringLiteral("223");
    return list;
}

struct Step3 {
    MessageBoxWatcher boxes;
    FakeHost host;
    TStep3Screen form{host, nullptr};

    Step3()
    {
        host.hint = QStringLiteral("first line\nsecond line");
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("the STEP3 screen was not exposed");
        boxes.Clear();
    }
    // The boxes the pupil's actions raised; a data file missing from this
    // build is reported by its own box, which is not what these tests look at.
    QStringList Messages() const
    {
        QStringList texts = boxes.Texts();
        texts.removeAll(CreateError);
        return texts;
    }
    TImage *Image(const QString &name) { return form.findChild<TImage *>(name); }
    TImage *Slot(int n) { return Image(QStringLiteral("Image%1").arg(76 + n)); }
    TSelector *Selector(int n) { return form.findChild<TSelector *>(QStringLiteral("Selector%1").arg(n)); }

    // The drop as the platform delivers it at the end of a palette drag.
    void Drop(const char *block, int n)
    {
        auto mime = TDragController::MimeFor(Image(QString::fromLatin1(block)));
        QDragEnterEvent enter(QPoint(45, 27), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(Slot(n), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(45, 27), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(Slot(n), &drop);
        QVERIFY(drop.isAccepted());
    }
    // Steps the selector of slot n with its right arrow.
    void StepRight(int n, int times)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(Selector(n), Qt::LeftButton, {}, QPoint(85, 7));
    }
    // Answers the next file dialogs with `path`.
    void ChooseFile(const QString &path)
    {
        form.ProgramFile().SetNameChooser([path](bool) { return path; });
    }
    void Click(const char *button) { QTest::mouseClick(Image(QString::fromLatin1(button)), Qt::LeftButton, {}, QPoint(40, 25)); }
};

} // namespace

class TestStep3Screen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void layoutAndStartState()
    {
        Step3 s;
        const std::pair<const char *, int> buttons[] = {{"Image5", 16}, {"Image9", 112}, {"Image6", 224},
                                                        {"Image10", 320}, {"Image7", 416}, {"Image8", 512},
                                                        {"Image4", 608}};
        for (const auto &[name, x] : buttons)
            QCOMPARE(s.Image(QString::fromLatin1(name))->geometry(), QRect(x, 8, 90, 51));
        QCOMPARE(s.Image(QStringLiteral("Image7"))->statusTip(),
                 QStringLiteral("プログラムを転送します（接続コードを本体のコネクタに接続して下さい）"));
        const std::tuple<const char *, int, int> palette[] = {
            {"Image67", 24, 85}, {"Image68", 80, 85}, {"Image69", 24, 136}, {"Image70", 80, 136},
            {"Image71", 24, 187}, {"Image72", 80, 187}, {"Image73", 24, 238}, {"Image74", 80, 238},
            {"Image66", 24, 289}, {"Image11", 80, 289}, {"Image75", 24, 367}, {"Image76", 80, 367}};
        for (const auto &[name, x, y] : palette)
            QCOMPARE(s.Image(QString::fromLatin1(name))->geometry(), QRect(x, y, 50, 50));
        QCOMPARE(s.Image(QStringLiteral("Image75"))->statusTip(), QStringLiteral("繰り返し開始の命令です"));
        QCOMPARE(s.Slot(1)->geometry(), QRect(186, 95, 90, 55));
        QCOMPARE(s.Slot(7)->geometry(), QRect(286, 175, 90, 55));
        QCOMPARE(s.Slot(20)->geometry(), QRect(586, 335, 90, 55));
        QCOMPARE(s.Selector(20)->geometry(), QRect(586, 390, 90, 15));
        for (int n = 1; n <= 20; ++n) {
            QVERIFY(!s.Selector(n)->isEnabled());
            QCOMPARE(s.Selector(n)->ItemIndex(), -1);
        }
        QCOMPARE(s.Messages(), QStringList{});
    }

    void dropsFillAndEmptySlots_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("spoken");     // what a screen reader says of the slot and its selector
        QTest::newRow("red") << "Image67" << 159 << "led_red.bmp" << 8 << "0.5秒" << true << "赤 0.5秒|時間";
        QTest::newRow("light blue") << "Image72" << 199 << "led_lightblue.bmp" << 8 << "0.5秒" << true
                                    << "水色 0.5秒|時間";
        QTest::newRow("off") << "Image74" << 215 << "led_off.bmp" << 6 << "0.5秒" << true << "消灯 0.5秒|時間";
        QTest::newRow("wait") << "Image66" << 96 << "wait.bmp" << 1 << "7個目" << true << "入力待ち 7個目|設定";
        QTest::newRow("repeat start") << "Image75" << 63 << "start.bmp" << 12 << "1回" << true << "繰り返し開始 1回|回数";
        QTest::newRow("repeat end") << "Image76" << 83 << "end.bmp" << 1 << "END" << false << "繰り返し終了 END|設定";
    }
    void dropsFillAndEmptySlots()
    {
        QFETCH(QString, block);
        QFETCH(int, kind);
        QFETCH(QString, picture);
        QFETCH(int, items);
        QFETCH(QString, shown);
        QFETCH(bool, enabled);
        QFETCH(QString, spoken);
        Step3 s;
        // A drop on a filled slot replaces what was there.
        s.Drop("Image75", 7);
        s.StepRight(7, 4);
        QCOMPARE(s.Slot(7)->accessibleName(), QStringLiteral("7番目: 繰り返し開始 5回"));
        s.Drop(block.toLatin1().constData(), 7);
        QCOMPARE(s.Slot(7)->accessibleName() + u'|' + s.Selector(7)->accessibleName(),
                 QStringLiteral("7番目: ") + spoken.section(u'|', 0, 0) + QStringLiteral("|7番目の")
                     + spoken.section(u'|', 1));
        QCOMPARE(s.form.Slots()[6].kind, kind);
        TSelector *selector = s.Selector(7);
        QCOMPARE(selector->Values().size(), items);
        QCOMPARE(selector->ItemIndex(), 0);
        QCOMPARE(selector->SelectedText(), shown);
        QCOMPARE(selector->isEnabled(), enabled);
        if (HaveFile(QStringLiteral("picture\\LED\\") + picture)) {
            QCOMPARE(s.Slot(7)->PicturePath(), QStringLiteral("picture\\LED\\") + picture);
            QVERIFY(!s.Slot(7)->pixmap().isNull());
        }
        s.Drop("Image11", 7);
        QCOMPARE(s.form.Slots()[6], TBlockSlot{});
        QVERIFY(s.Slot(7)->pixmap().isNull());
        QVERIFY(selector->Values().isEmpty());
        QVERIFY(!selector->isEnabled());
        QCOMPARE(s.Slot(7)->accessibleName(), QStringLiteral("7番目: 空き"));
        QCOMPARE(s.Messages(), QStringList{});
    }

    void onlyPaletteBlocksAreTaken()
    {
        Step3 s;
        for (const char *other : {"Image7", "Image1", "Image77"}) {
            auto mime = TDragController::MimeFor(s.Image(QString::fromLatin1(other)));
            QDragEnterEvent enter(QPoint(45, 27), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QApplication::sendEvent(s.Slot(1), &enter);
            QVERIFY(!enter.isAccepted());
        }
        QMimeData foreign;
        foreign.setText(QStringLiteral("Image67"));
        QDragEnterEvent enter(QPoint(45, 27), Qt::CopyAction, &foreign, Qt::LeftButton, {});
        QApplication::sendEvent(s.Slot(1), &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(s.form.Slots()[0], TBlockSlot{});
    }

    void dragCarriesTheBlockPicture()
    {
        Step3 s;
        TImage *blue = s.Image(QStringLiteral("Image69"));
        auto *drag = s.form.findChild<TDragController *>();
        QPixmap image;
        QPoint hotSpot;
        QWidget *dragged = nullptr;
        connect(drag, &TDragController::DragStarted, this, [&](QWidget *control) {
            dragged = control;
            image = drag->DragImage();
            hotSpot = drag->HotSpot();
        });
        const int d = QApplication::startDragDistance();
        const QPoint press(20, 17);
        QTest::mousePress(blue, Qt::LeftButton, {}, press);
        QTest::mouseMove(blue, press + QPoint(d, -d));
        QVERIFY(!dragged);
        QTest::mouseMove(blue, press + QPoint(d + 1, 0));
        QCOMPARE(dragged, blue);
        QCOMPARE(hotSpot, press);
        // The block's own picture at its natural size, not the 50 x 50 palette copy.
        QCOMPARE(image.size(), LoadAssetPixmap(QStringLiteral("Picture\\LED\\led_blue.bmp")).size());
        QTRY_VERIFY(!drag->Dragging());
        QTest::mouseRelease(blue, Qt::LeftButton, {}, press);
        QCOMPARE(s.Messages(), QStringList{});
    }

    void transferSendsTheBuiltProgram()
    {
        Step3 s;
        s.Drop("Image67", 1);
        s.StepRight(1, 1);       // 1 s
        s.Drop("Image75", 2);
        s.StepRight(2, 2);       // 3 times
        s.Drop("Image69", 3);
        s.StepRight(3, 2);       // 2 s
        s.Drop("Image73", 4);    // 0.5 s
        s.Drop("Image76", 5);
        s.Drop("Image74", 6);
        s.StepRight(6, 1);       // 1 s
        s.Click("Image7");
        QCOMPARE(s.Messages(), QStringList{});
        const QStringList program = Padded({"161", "65", "178", "208", "86", "217"});
        QCOMPARE(s.host.transfers.size(), 1);
        QCOMPARE(s.host.transfers[0].mode, 2);
        QCOMPARE(s.host.transfers[0].program, program);
        QCOMPARE(s.host.ExpandedList, QStringList({"161", "178", "208", "178", "208", "178", "208", "217"}));
        QCOMPARE(s.host.hint, QStringLiteral("文法チェック  OK!\nsecond line"));
        // F7 from a selector with the focus runs it; F6 sends it again.
        s.Selector(3)->setFocus();
        QTest::keyClick(s.Selector(3), Qt::Key_F7);
        QCOMPARE(s.host.executes, QList<int>{6});
        QTest::keyClick(s.Image(QStringLiteral("Image67")), Qt::Key_F6);
        QCOMPARE(s.host.transfers.size(), 2);
        // The blocks stay as they were.
        QCOMPARE(s.form.Slots()[1], (TBlockSlot{63, 2}));
    }

    void badProgramsSendNothing()
    {
        Step3 s;
        s.Drop("Image67", 1);
        s.Drop("Image69", 3);
        s.Click("Image7");
        QCOMPARE(s.Messages(), QStringList{Gap});
        s.Click("Image10");
        QCOMPARE(s.Messages(), QStringList({Gap, Gap}));
        QCOMPARE(s.form.ErrorFlag(), -1);
        s.Drop("Image75", 2);
        s.Drop("Image76", 3);
        s.boxes.Clear();
        s.Click("Image7");
        QCOMPARE(s.Messages(), QStringList{QStringLiteral("文法エラー「3個目　繰り返しが開始との位置関係が間違っています」")});
        QCOMPARE(s.host.ProgramList, QStringList({"160", "65"}));
        QVERIFY(s.host.transfers.isEmpty());
        QVERIFY(s.host.pagesShown.isEmpty());
        QCOMPARE(s.host.hint, QStringLiteral("first line\nsecond line"));
        QCOMPARE(s.form.Slots()[0].kind, 159);
    }

    void emptyAreaIsRefusedAndRunNeedsAProgram()
    {
        Step3 s;
        s.Click("Image8");
        QCOMPARE(s.Messages(), QStringList{QStringLiteral("プログラムの転送がされてません\nプログラム転送をしてください")});
        QVERIFY(s.host.executes.isEmpty());
        s.boxes.Clear();
        s.Click("Image7");
        s.Click("Image10");
        QCOMPARE(s.Messages(), QStringList({EmptyProgram, EmptyProgram}));
        QCOMPARE(s.host.ProgramList, Padded({}));
        QVERIFY(s.host.transfers.isEmpty());
        QVERIFY(s.host.pagesShown.isEmpty());
        // The list a build left lets the run button send the execute byte.
        s.Click("Image8");
        QCOMPARE(s.host.executes, QList<int>{6});
    }

    void clearAllEmptiesEverySlot()
    {
        Step3 s;
        s.Drop("Image75", 1);
        s.Drop("Image66", 2);
        s.Drop("Image76", 3);
        s.Click("Image6");
        for (int n = 1; n <= 3; ++n) {
            QCOMPARE(s.form.Slots()[static_cast<size_t>(n - 1)], TBlockSlot{});
            QVERIFY(s.Slot(n)->pixmap().isNull());
            QVERIFY(s.Selector(n)->Values().isEmpty());
            QVERIFY(!s.Selector(n)->isEnabled());
        }
    }

    void previewAndReportOpenTheirPages()
    {
        Step3 s;
        s.Drop("Image75", 1);
        s.StepRight(1, 1);       // 2 times
        s.Drop("Image67", 2);
        s.Drop("Image66", 3);
        s.Drop("Image71", 4);
        s.StepRight(4, 6);       // fade in
        s.Drop("Image76", 5);
        s.host.nextEnabled = s.host.previousEnabled = true;
        s.Click("Image10");
        QCOMPARE(s.Messages(), QStringList{});
        QCOMPARE(s.host.pagesShown, QList<int>{10});
        QCOMPARE(s.host.PageCode, 13);
        QVERIFY(!s.host.nextEnabled && !s.host.previousEnabled);
        QCOMPARE(s.host.ExpandedList, QStringList({"160", "96", "198", "160", "96", "198"}));
        QVERIFY(s.host.transfers.isEmpty());

        s.host.nextEnabled = s.host.previousEnabled = true;
        s.Drop("Image74", 6);
        s.Drop("Image69", 8); // a hole: the report is made without any check
        s.Click("Image4");
        QCOMPARE(s.Messages(), QStringList{});
        QCOMPARE(s.host.pagesShown, QList<int>({10, 11}));
        QCOMPARE(s.host.PageCode, 11);
        QVERIFY(!s.host.nextEnabled && !s.host.previousEnabled);
        QCOMPARE(s.host.ReportTextList,
                 QStringList({"繰り返し開始　2回", "赤色　0.5秒　点灯", "入力待ち", "紫色 ゆっくり点灯",
                              "繰り返し終了", "消灯　0.5秒", "青色　0.5秒　点灯"}));
    }

    void savedProgramReadsBack()
    {
        QTemporaryDir dir;
        Step3 s;
        s.Drop("Image75", 1);
        s.StepRight(1, 11);      // 12 times
        s.Drop("Image67", 2);
        s.StepRight(2, 7);       // fade out
        s.Drop("Image74", 3);
        s.Drop("Image66", 4);
        s.Drop("Image76", 5);
        const TBlockSlots saved = s.form.Slots();
        s.ChooseFile(dir.filePath(QStringLiteral("prog")));
        s.Click("Image9");
        QCOMPARE(s.Messages(), QStringList{});
        QFile file(dir.filePath(QStringLiteral("prog.lk7")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "STEP3\r\n" + Lines({63, 159, 215, 96, 83}) + Lines(QList<int>(15, 0)) +
                                     Lines({11, 7, 0, 0, 0}) + Lines(QList<int>(15, -1)));

        s.Click("Image6");
        s.ChooseFile(file.fileName());
        s.Click("Image5");
        QCOMPARE(s.Messages(), QStringList{});
        QCOMPARE(s.form.Slots(), saved);
        QCOMPARE(s.Selector(1)->SelectedText(), QStringLiteral("12回"));
        QCOMPARE(s.Slot(1)->accessibleName(), QStringLiteral("1番目: 繰り返し開始 12回"));
        QCOMPARE(s.Selector(4)->SelectedText(), QStringLiteral("4個目"));
        QVERIFY(!s.Selector(5)->isEnabled());
        QVERIFY(s.Selector(4)->isEnabled());
        QVERIFY(!s.Selector(6)->isEnabled());
        QCOMPARE(s.Slot(3)->PicturePath(), QStringLiteral("picture\\LED\\led_off.bmp"));
        s.Click("Image7");
        QCOMPARE(s.host.transfers.size(), 1);
        QCOMPARE(s.host.transfers[0].program, Padded({"64", "167", "216", "96", "95"}));
    }

    void oddFilesFillWhatTheyHold()
    {
        QTemporaryDir dir;
        Step3 s;
        s.Drop("Image67", 1);
        const QString path = dir.filePath(QStringLiteral("odd.LK7"));

        // Another lesson's record leaves the slots alone.
        WriteFile(path, "STEP5\r\nred\r\n");
        s.ChooseFile(path);
        s.Click("Image5");
        QCOMPARE(s.Messages(), QStringList{TProgramFile::OtherLessonMessage()});
        QCOMPARE(s.form.Slots()[0], (TBlockSlot{159, 0}));

        // A wait rebuilds its item from the slot it is read into; a kind no
        // block has fills its slot with nothing, and an index its selector
        // does not have stays unchosen.
        QList<int> kinds(20, 0);
        kinds[0] = 96;
        kinds[1] = 42;
        QList<int> items(20, -1);
        items[0] = 0;
        items[1] = 3;
        WriteFile(path, "STEP3\r\n" + Lines(kinds) + Lines(items));
        s.boxes.Clear();
        s.Click("Image5");
        QCOMPARE(s.Messages(), QStringList{});
        QCOMPARE(s.Selector(1)->SelectedText(), QStringLiteral("1個目"));
        QCOMPARE(s.form.Slots()[1], (TBlockSlot{42, -1}));
        QVERIFY(s.Slot(2)->pixmap().isNull());
        s.Click("Image7");
        QCOMPARE(s.Messages(), QStringList{QStringLiteral("秒数、回数を正しく設定して下さい")});
        QVERIFY(s.host.transfers.isEmpty());

        // A broken file is refused whole: it says so and changes no slot.
        const TBlockSlots before = s.form.Slots();
        for (const QByteArray &broken : {QByteArray("STEP3\r\n175\r\n199\r\nx\r\n"),
                                         QByteArray("STEP3\r\n" + Lines(QList<int>(20, 175)) + Lines({1, 2, 3}))}) {
            WriteFile(path, broken);
            s.boxes.Clear();
            s.Click("Image5");
            QCOMPARE(s.boxes.Texts(), QStringList{CreateError});
            QCOMPARE(s.form.Slots(), before);
            QCOMPARE(s.Selector(1)->SelectedText(), QStringLiteral("1個目"));
        }
    }
};

QTEST_MAIN(TestStep3Screen)
#include "test_step3_screen.moc"
