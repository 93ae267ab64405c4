#include "Announcement.h"
#include "BlockProgram.h"
#include "Image.h"
#include "LightProgram.h"
#include "LoadError.h"
#include "MessageBoxWatcher.h"
#include "PageScreen.h"
#include "PiecedPicture.h"
#include "SonEdit.h"
#include "MainWindow.h"
#include "WorkFolder.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startsOnStep1WithItsFrame()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        QSignalSpy painted(&form, &TMainWindow::FirstPainted);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // What the first screen does not show (the network among it) is made
        // once, when the window has been painted.
        QTRY_COMPARE_WITH_TIMEOUT(painted.count(), 1, 60000);
        form.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(painted.count(), 1);
        QCOMPARE(form.size(), QSize(780, 560));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.PageCode, 0);
        QCOMPARE(form.VisiblePage(), 0);
        // Only the first page is built at start, also once the work keeper
        // follows the lessons and nothing was left from a killed run.
        QTemporaryDir work;
        form.StartKeepingWork(work.path());
        for (int i = 1; i < TMainWindow::PageCount; ++i)
            QVERIFY2(!form.PageBuilt(i), qPrintable(QStringLiteral("page %1 built at start").arg(i)));
        QVERIFY(form.Page(0)->isVisible());
        for (int i = 1; i < TMainWindow::PageCount; ++i)
            QVERIFY(!form.Page(i)->isVisible());
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("PageHost"))->geometry(), QRect(30, 70, 720, 430));
        QCOMPARE(form.findChild<QPlainTextEdit *>(QStringLiteral("Memo3"))->geometry(), QRect(205, 507, 433, 44));
        QVERIFY(!form.findChild<TImage *>(QStringLiteral("Image7"))->isEnabled());
        QVERIFY(form.findChild<TImage *>(QStringLiteral("Image6"))->isEnabled());
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("Image10"))->geometry(), QRect(19, 40, 741, 465));
        // The frame's magenta marks where the window shows through it (the
        // page in the middle); the panel round the page shows wherever the
        // page does not cover it, the background wherever the panel does not. Every other pixel of their pictures is
        // drawn where it was, though only the pieces that show are kept.
        const QRect pageInPanel = QRect(30, 70, 720, 430).translated(-19, -40);
        QCOMPARE(WronglyDrawn(form, "Image9", "picture\\back2.bmp", {}), 0);
        QCOMPARE(WronglyDrawn(form, "Image10", "picture\\back1.bmp", pageInPanel), 0);
        QCOMPARE(WronglyDrawn(form, "BackgroundPicture", "picture\\PANEL\\bg1.jpg", QRect(19, 40, 741, 465)), 0);
    }

    // The pixels of the picture control `name` that are not drawn as its
    // picture file has them: magenta see-through, nothing inside `covered`.
    static int WronglyDrawn(QWidget &window, const char *name, const char *file, const QRect &covered)
    {
        auto *control = window.findChild<QWidget *>(QString::fromLatin1(name));
        QImage drawn(control->size(), QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        control->render(&drawn, {}, {}, QWidget::DrawChildren);
        const QImage picture = TImage::ScreenImage(QString::fromLatin1(file), 1.0);
        if (drawn.size() != picture.size())
            return -1;
        int wrong = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb want = picture.pixel(x, y);
                if ((want & 0xffffff) == 0xff00ff)
                    wrong += qAlpha(drawn.pixel(x, y)) != 0;
                else if (!covered.contains(x, y))
                    wrong += drawn.pixel(x, y) != (want | 0xff000000);
            }
        }
        return wrong;
    }

    void keysWalkTheLessonsAndStopAtTheEnds()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *next = form.findChild<TImage *>(QStringLiteral("Image6"));
        auto *previous = form.findChild<TImage *>(QStringLiteral("Image7"));
        const auto *said = form.findChild<TAnnouncement *>();
        for (int page = 1; page <= 9; ++page) {
            form.ProgramList = {QStringLiteral("160")};
            form.TransferMode = 2;
            QTest::keyClick(&form, Qt::Key_F8);
            QCOMPARE(form.PageCode, page);
            QCOMPARE(form.VisiblePage(), page);
            // The page that takes the keyboard itself says its title; otherwise the title is announced.
            const QString heard = QApplication::focusWidget() == form.Page(page) ? form.Page(page)->accessibleName()
                                                                                  : said->LastSaid();
            QVERIFY2(heard.startsWith(QStringLiteral("STEP%1 ").arg(page + 1)), qPrintable(heard));
            QVERIFY2(form.ProgramList.isEmpty(), "a lesson change clears the program list");
            QCOMPARE(form.TransferMode, 0);
        }
        QVERIFY(!next->isEnabled());
        QTest::keyClick(&form, Qt::Key_F8);
        QCOMPARE(form.PageCode, 9);
        for (int page = 8; page >= 0; --page) {
            QTest::keyClick(&form, Qt::Key_F5);
            QCOMPARE(form.PageCode, page);
        }
        QVERIFY(!previous->isEnabled());
        QVERIFY(next->isEnabled());
        QTest::keyClick(&form, Qt::Key_F5);
        QCOMPARE(form.PageCode, 0);
    }

    // What a screen puts in the hint area on purpose is said; a hover's hint is not.
    void hintAreaTextsOnPurposeAreSaid()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        const auto *said = form.findChild<TAnnouncement *>();
        form.ShowHintText(QStringLiteral("転送|プログラムを転送します"));
        QCOMPARE(said->LastSaid(), TMainWindow::PageTitle(0));
        TMainHost &host = form;
        host.SetHintAreaText(QStringLiteral("文法チェック OK!"));
        QCOMPARE(said->LastSaid(), QStringLiteral("文法チェック OK!"));
        form.ShowNoticeInHintArea(QStringLiteral("前回の作業を戻しました"));
        QCOMPARE(said->LastSaid(), QStringLiteral("前回の作業を戻しました"));
    }

    void clicksOnTheStepButtonsAndLightListSurvives()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.LightList = {QStringLiteral("16")};
        auto *next = form.findChild<TImage *>(QStringLiteral("Image6"));
        QTest::mouseClick(next, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(form.PageCode, 1);
        QCOMPARE(form.LightList, QStringList{QStringLiteral("16")});
        auto *previous = form.findChild<TImage *>(QStringLiteral("Image7"));
        QVERIFY(previous->isEnabled());
        QTest::mouseClick(previous, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(form.PageCode, 0);
    }

    void previewAndReportCodesIgnoreStepKeys()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.PageCode = 4;
        form.ShowPage(4);
        form.PageCode = TMainHost::CodePreviewFromStep5;
        form.SetStepButtonsEnabled(false, false);
        form.ShowPage(TMainHost::PagePreview);
        QTest::keyClick(&form, Qt::Key_F5);
        QTest::keyClick(&form, Qt::Key_F8);
        QCOMPARE(form.PageCode, 12);
        QCOMPARE(form.VisiblePage(), 10);
    }

    // A lesson's own keys act only while its page is the visible one, and
    // the step keys reach past an editor that has the focus.
    void functionKeysBelongToTheVisiblePage()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        boxes.Clear();
        // F6 and F7 belong to STEP3, STEP5 and STEP7; on STEP1 they do nothing.
        QTest::keyClick(&form, Qt::Key_F6);
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(boxes.Count(), 0);
        QTest::keyClick(&form, Qt::Key_F8);
        QTest::keyClick(&form, Qt::Key_F8);
        QCOMPARE(form.PageCode, 2);
        QTest::keyClick(&form, Qt::Key_F6);
        QCOMPARE(boxes.Last(), TBlockProgramBuilder::EmptyProgramMessage());

        QTest::keyClick(&form, Qt::Key_F8);
        QTest::keyClick(&form, Qt::Key_F8);
        auto *editor = form.Page(4)->findChild<QWidget *>(QStringLiteral("SonEdit1"));
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_F8);
        QCOMPARE(form.PageCode, 5);
    }

    // The pupil typed on one page and went on with the step keys: the page
    // shown has the keyboard, and a key there acts once, on it alone; the
    // page left behind gets no key, no character, and runs none of its keys.
    void keysNeverReachAHiddenPage_data()
    {
        QTest::addColumn<int>("typedOn");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("pressedOn");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("boxes");
        const QString step5Editor = QStringLiteral("SonEdit1");
        // A check of it would say so in a box.
        const QString unchecked = QStringLiteral("red(1)");
        const QString step4Box = QStringLiteral("Edit22");
        const QString command = QStringLiteral("blue(1);");
        QTest::newRow("STEP5 editor, F6 on STEP3") << 4 << step5Editor << unchecked << 2 << int(Qt::Key_F6)
                                                   << QStringList{TBlockProgramBuilder::EmptyProgramMessage()};
        QTest::newRow("STEP5 editor, F7 on STEP3") << 4 << step5Editor << unchecked << 2 << int(Qt::Key_F7)
                                                   << QStringList{LightNotTransferredText()};
        QTest::newRow("STEP5 editor, F4 on STEP6")
            << 4 << step5Editor << unchecked << 5 << int(Qt::Key_F4) << QStringList{};
        QTest::newRow("STEP5 editor, F6 on STEP7")
            << 4 << step5Editor << unchecked << 6 << int(Qt::Key_F6)
            << QStringList{QStringLiteral("命令がありません。音を入力して下さい")};
        QTest::newRow("STEP5 editor, Enter on STEP7")
            << 4 << step5Editor << unchecked << 6 << int(Qt::Key_Return)
            << QStringList{QStringLiteral("再生する命令がありません\n命令を入力して下さい")};
        QTest::newRow("STEP4 command box, Enter on STEP5")
            << 3 << step4Box << command << 4 << int(Qt::Key_Return) << QStringList{};
        QTest::newRow("STEP4 command box, typing on STEP6")
            << 3 << step4Box << command << 5 << int(Qt::Key_X) << QStringList{};
    }

    void keysNeverReachAHiddenPage()
    {
        QFETCH(int, typedOn);
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(int, pressedOn);
        QFETCH(int, key);
        QFETCH(QStringList, boxes);
        MessageBoxWatcher watcher;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWindow *window = form.windowHandle();
        // Keys go in as the window system gives them: to the control with the focus.
        const auto walkTo = [&](int page) {
            while (form.PageCode != page)
                QTest::keyClick(window, form.PageCode < page ? Qt::Key_F8 : Qt::Key_F5);
        };
        walkTo(typedOn);
        auto *typedInto = form.Page(typedOn)->findChild<QWidget *>(control);
        QTest::mouseClick(typedInto, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(QApplication::focusWidget(), typedInto);
        QTest::keyClicks(typedInto, typed);
        const auto textOf = [typedInto] {
            if (auto *editor = qobject_cast<TSonEdit *>(typedInto))
                return editor->GetText();
            return static_cast<QLineEdit *>(typedInto)->text();
        };
        QCOMPARE(textOf(), typed);

        walkTo(pressedOn);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus && (focus == form.Page(pressedOn) || form.Page(pressedOn)->isAncestorOf(focus)),
                 "the page shown has the keyboard");
        watcher.Clear();
        QTest::keyClick(window, Qt::Key(key));
        QCOMPARE(watcher.Texts(), boxes);
        QCOMPARE(textOf(), typed);
        QVERIFY2(!form.TransferPrepared(), "nothing was sent");
    }

    void pictureButtonsTakeThePressedLook()
    {
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *help = form.findChild<TImage *>(QStringLiteral("Image4"));
        const QPoint at = help->pos();
        QTest::mousePress(help, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(help->pos(), at + QPoint(2, 2));
        QTest::mouseRelease(help, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(help->pos(), at);
    }

    // A background that cannot be shown is reported, and the window still
    // gets the default background and every button.
    void unusableBackgroundFallsBackToTheDefault_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("missing") << "bg99.jpg";
        QTest::newRow("outside the folder") << "../../etc/passwd";
        QTest::newRow("another folder") << "..\\BUTTON\\help.bmp";
    }

    void unusableBackgroundFallsBackToTheDefault()
    {
        QFETCH(QString, picture);
        const QString ini = WorkFolder() + QStringLiteral("set.ini");
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[back]\r\npicture=" + picture.toUtf8() + "\r\n");
        }
        MessageBoxWatcher boxes;
        TMainWindow form;
        QFile::remove(ini);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい")});
        QCOMPARE(form.BackgroundPicture(), QStringLiteral("picture\\PANEL\\bg1.jpg"));
        for (const char *name : {"Image1", "Image2", "Image3", "Image4", "Image6", "Image7"})
            QVERIFY2(!form.findChild<TImage *>(QString::fromLatin1(name))->pixmap().isNull(), name);
        for (const char *name : {"Image9", "Image10"})
            QVERIFY2(form.findChild<TPiecedPicture *>(QString::fromLatin1(name))->PieceCount() > 0, name);
    }

    // A control not shown yet decodes its picture when it is shown; a file
    // that is no picture is still refused when it is loaded, so the screen's
    // creation reports it as before.
    void hiddenPictureIsDecodedWhenShown()
    {
        QWidget window;
        auto *image = new TImage(&window);
        image->LoadPicture(QStringLiteral("Picture\\BUTTON\\help.bmp"));
        QVERIFY(static_cast<QLabel *>(image)->pixmap().isNull());
        window.show();
        QCOMPARE(static_cast<QLabel *>(image)->pixmap().size(), QSize(70, 28));
        auto *notAPicture = new TImage(&window);
        notAPicture->hide();
        QVERIFY_THROWS_EXCEPTION(TLoadError, notAPicture->LoadPicture(QStringLiteral("Help\\Help1\\index.html")));
        QVERIFY_THROWS_EXCEPTION(TLoadError, notAPicture->LoadPicture(QStringLiteral("Picture\\BUTTON\\none.bmp")));
    }

    void portSettingOutsideTheTableKeepsTheName()
    {
        QCOMPARE(TMainWindow::PortNameFor(0, QStringLiteral("COM1")), QStringLiteral("com1"));
        QCOMPARE(TMainWindow::PortNameFor(3, QStringLiteral("COM1")), QStringLiteral("com4"));
        QCOMPARE(TMainWindow::PortNameFor(7, QStringLiteral("COM1")), QStringLiteral("COM1"));
        QCOMPARE(TMainWindow::PortNameFor(-1, QStringLiteral("com2")), QStringLiteral("com2"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
