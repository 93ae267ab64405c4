#include "BlockProgram.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "PageScreen.h"
#include "Unit1.h"
#include "WorkFolder.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startsOnStep1WithItsFrame()
    {
        MessageBoxWatcher boxes;
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), QSize(780, 560));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.PageCode, 0);
        QCOMPARE(form.VisiblePage(), 0);
        QVERIFY(form.Page(0)->isVisible());
        for (int i = 1; i < TForm1::PageCount; ++i)
            QVERIFY(!form.Page(i)->isVisible());
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("PageHost"))->geometry(), QRect(30, 70, 720, 430));
        QCOMPARE(form.findChild<QPlainTextEdit *>(QStringLiteral("Memo3"))->geometry(), QRect(205, 507, 433, 44));
        QVERIFY(!form.findChild<TImage *>(QStringLiteral("Image7"))->isEnabled());
        QVERIFY(form.findChild<TImage *>(QStringLiteral("Image6"))->isEnabled());
        QCOMPARE(form.findChild<TImage *>(QStringLiteral("Image10"))->geometry(), QRect(19, 40, 741, 465));
    }

    void keysWalkTheLessonsAndStopAtTheEnds()
    {
        MessageBoxWatcher boxes;
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *next = form.findChild<TImage *>(QStringLiteral("Image6"));
        auto *previous = form.findChild<TImage *>(QStringLiteral("Image7"));
        for (int page = 1; page <= 9; ++page) {
            form.ProgramList = {QStringLiteral("160")};
            form.TransferMode = 2;
            QTest::keyClick(&form, Qt::Key_F8);
            QCOMPARE(form.PageCode, page);
            QCOMPARE(form.VisiblePage(), page);
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

    void clicksOnTheStepButtonsAndLightListSurvives()
    {
        MessageBoxWatcher boxes;
        TForm1 form;
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
        TForm1 form;
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
        TForm1 form;
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

    void pictureButtonsTakeThePressedLook()
    {
        MessageBoxWatcher boxes;
        TForm1 form;
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
        TForm1 form;
        QFile::remove(ini);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい")});
        QCOMPARE(form.findChild<TImage *>(QStringLiteral("Image8"))->PicturePath(), QStringLiteral("picture\\PANEL\\bg1.jpg"));
        for (const char *name : {"Image1", "Image2", "Image3", "Image4", "Image6", "Image7", "Image9", "Image10"})
            QVERIFY2(!form.findChild<TImage *>(QString::fromLatin1(name))->pixmap().isNull(), name);
    }

    void portSettingOutsideTheTableKeepsTheName()
    {
        QCOMPARE(TForm1::PortNameFor(0, QStringLiteral("COM1")), QStringLiteral("com1"));
        QCOMPARE(TForm1::PortNameFor(3, QStringLiteral("COM1")), QStringLiteral("com4"));
        QCOMPARE(TForm1::PortNameFor(7, QStringLiteral("COM1")), QStringLiteral("COM1"));
        QCOMPARE(TForm1::PortNameFor(-1, QStringLiteral("com2")), QStringLiteral("com2"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
