#include "Cp932.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "PtyLamp.h"
#include "TestPictures.h"
#include "MainWindow.h"
#include "SettingsScreen.h"
#include "WorkFolder.h"
#include "rs232c.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTextEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

QString IniPath() { return WorkFolder() + QStringLiteral("set.ini"); }

QByteArray ReadIni()
{
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteIni(const QByteArray &bytes)
{
    QFile file(IniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T>
T *Child(QObject *parent, const QString &name)
{
    T *child = parent->findChild<T *>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

void Click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
}

void ClickTopic(TSettingsScreen &form, const QString &topic)
{
    auto *tree = Child<QTreeWidget>(&form, QStringLiteral("TreeView1"));
    const QList<QTreeWidgetItem *> items = tree->findItems(topic, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!items.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(items.first()).center());
    QCOMPARE(tree->currentItem(), items.first());
}

} // namespace

class TestSettingsScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_pictures.Provide(QStringLiteral("picture\\back-1.jpg"));
        m_pictures.Provide(QStringLiteral("picture\\BUTTON\\ok.bmp"));
        m_pictures.Provide(QStringLiteral("picture\\BUTTON\\cancel.bmp"));
        for (int i = 1; i <= 12; ++i) {
            m_pictures.Provide(QStringLiteral("picture\\PANEL\\s_bg%1.jpg").arg(i));
            m_pictures.Provide(QStringLiteral("picture\\PANEL\\bg%1.jpg").arg(i));
        }
    }

    void init()
    {
        QFile::remove(IniPath());
        QDir(IniPath()).removeRecursively();
        m_boxes = std::make_unique<MessageBoxWatcher>();
        m_main = std::make_unique<TMainWindow>();
        // The main window's own pictures may still be missing here; only
        // what the settings screen says counts.
        m_boxes->Clear();
    }

    void cleanup()
    {
        m_main.reset();
        m_boxes.reset();
        QFile::remove(IniPath());
        QDir(IniPath()).removeRecursively();
    }

    // Beside each port name the device it stands for, read again each time
    // the screen opens.
    void portPageShowsEachNamesDevice()
    {
        WriteIni("[comport]\r\nname=0\r\ncom1=/dev/ttyUSB7\r\ncom2=/tmp/lamp-two\r\n");
        TSettingsScreen form(*m_main);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *first = Child<QLabel>(&form, QStringLiteral("Label_Device1"));
        QCOMPARE(first->text(), QStringLiteral("ttyUSB7"));
        QCOMPARE(first->toolTip(), QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(Child<QLabel>(&form, QStringLiteral("Label_Device2"))->text(), QStringLiteral("/tmp/lamp-two"));
        QVERIFY(!Child<QLabel>(&form, QStringLiteral("Label_Device3"))->text().isEmpty());
        form.hide();
        WriteIni("[comport]\r\nname=0\r\ncom1=/dev/ttyACM0\r\n");
        form.show();
        QCOMPARE(first->text(), QStringLiteral("ttyACM0"));
    }

    void withoutAFileShowsTheDefaults()
    {
        TSettingsScreen form(*m_main);
        QCOMPARE(m_boxes->Count(), 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), QSize(398, 299));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com1"));
        QCOMPARE(Child<QStackedWidget>(&form, QStringLiteral("PageControl1"))->currentIndex(), 0);
        QVERIFY(!Child<QGroupBox>(&form, QStringLiteral("GroupBox1"))->isVisible());
        QVERIFY(Child<QRadioButton>(&form, QStringLiteral("RadioButton1"))->isChecked());
        auto *sample = Child<QLineEdit>(&form, QStringLiteral("Edit1"));
        QCOMPARE(sample->text(), QStringLiteral("これはサンプルです"));
        QCOMPARE(sample->palette().color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(sample->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(sample->font().pointSize(), 14);
        QCOMPARE(sample->font().family(), QStringLiteral("MS Pゴシック"));
        auto *size = Child<QSpinBox>(&form, QStringLiteral("SpinEdit1"));
        QCOMPARE(size->minimum(), 5);
        QCOMPARE(size->maximum(), 30);
        QCOMPARE(Child<QListWidget>(&form, QStringLiteral("ListBox1"))->count(), QFontDatabase::families().size());

        // Each topic shows its page; the sample box only for the editor's.
        const QList<QPair<QString, bool>> topics = {
            {QStringLiteral("ポート名"), false}, {QStringLiteral("エディタ"), true},
            {QStringLiteral("文字の大きさ"), true}, {QStringLiteral("背景色"), true},
            {QStringLiteral("文字色"), true}, {QStringLiteral("フォント名"), true},
            {QStringLiteral("背景画像"), false}, {QStringLiteral("ＣＯＭポート"), false},
        };
        const int pages[] = {1, 2, 3, 4, 5, 6, 7, 0};
        for (int i = 0; i < topics.size(); ++i) {
            ClickTopic(form, topics[i].first);
            QCOMPARE(Child<QStackedWidget>(&form, QStringLiteral("PageControl1"))->currentIndex(), pages[i]);
            QCOMPARE(Child<QGroupBox>(&form, QStringLiteral("GroupBox1"))->isVisible(), topics[i].second);
        }
    }

    void navyWritesItsInverseAndOtherKeysSurvive()
    {
        WriteIni("[comport]\r\nname=0\r\ncom1=/dev/null\r\n[back]\r\npicture=bg5.jpg\r\n[extra]\r\nkeep=1\r\n");
        TSettingsScreen form(*m_main);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ClickTopic(form, QStringLiteral("背景色"));
        Click(Child<TImage>(&form, QStringLiteral("BackColor_clNavy")));
        ClickTopic(form, QStringLiteral("文字色"));
        Click(Child<TImage>(&form, QStringLiteral("FontColor_clYellow")));
        auto *sample = Child<QLineEdit>(&form, QStringLiteral("Edit1"));
        QCOMPARE(sample->palette().color(QPalette::Base), QColor(0, 0, 128));
        QCOMPARE(sample->palette().color(QPalette::Text), QColor(255, 255, 0));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY(!form.isVisible());
        QCOMPARE(m_boxes->Count(), 0);
        const QByteArray expected = Cp932::Encode(QStringLiteral(
            "[comport]\r\nname=0\r\ncom1=/dev/null\r\n[back]\r\npicture=bg1.jpg\r\ncolor=clNavy\r\n[extra]\r\nkeep=1\r\n"
            "[font]\r\ncolor=clYellow\r\nsize=14\r\nname=MS Pゴシック\r\n[sel]\r\ncolor=$007FFFFF\r\n"));
        QCOMPARE(ReadIni(), expected);
        // Not chosen in this run: the background goes back to the first one.
        QCOMPARE(m_main->BackgroundPicture(),
                 QStringLiteral("picture\\PANEL\\bg1.jpg"));
    }

    void thumbnailChoiceIsKeptForTheRun()
    {
        TSettingsScreen form(*m_main);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ClickTopic(form, QStringLiteral("背景画像"));
        Click(Child<TImage>(&form, QStringLiteral("Thumbnail7")));
        QCOMPARE(Child<TImage>(&form, QStringLiteral("Image4"))->PicturePath(),
                 QStringLiteral("picture\\PANEL\\s_bg7.jpg"));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY(ReadIni().contains("picture=bg7.jpg\r\n"));
        QCOMPARE(m_main->BackgroundPicture(),
                 QStringLiteral("picture\\PANEL\\bg7.jpg"));
        form.show();
        QCOMPARE(form.ChosenBackground(), QStringLiteral("bg7.jpg"));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY(ReadIni().contains("picture=bg7.jpg\r\n"));
    }

    void portChoiceReopensThePortAndLastsToTheNextStart()
    {
        {
            TSettingsScreen form(*m_main);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            ClickTopic(form, QStringLiteral("ポート名"));
            Click(Child<QRadioButton>(&form, QStringLiteral("RadioButton3")));
            Click(Child<TImage>(&form, QStringLiteral("Image1")));
            QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com3"));
            QVERIFY(ReadIni().contains("[comport]\r\nname=2\r\n"));
        }
        m_main.reset();
        m_main = std::make_unique<TMainWindow>();
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com3"));
        TSettingsScreen again(*m_main);
        again.show();
        QVERIFY(Child<QRadioButton>(&again, QStringLiteral("RadioButton3"))->isChecked());
    }

    // The test light reaches the lamp and leaves the lesson's prepared
    // transfer alone: an execute afterwards is refused as before.
    void testLightLeavesTheSharedStateAsItWas()
    {
        PtyLamp lamp;
        QVERIFY(lamp.IsValid());
        WriteIni("[comport]\r\nname=0\r\ncom1=" + lamp.Device().toLocal8Bit() + "\r\n");
        m_main->TransferMode = 0;
        m_main->DirectCode = 0;
        TSettingsScreen form(*m_main);
        form.show();
        ClickTopic(form, QStringLiteral("ポート名"));
        Click(Child<QRadioButton>(&form, QStringLiteral("RadioButton1")));
        Click(Child<QPushButton>(&form, QStringLiteral("Button1")));
        QTRY_COMPARE(lamp.Bytes(), QByteArray("\x01\xd1"));
        QCOMPARE(m_main->TransferMode, 0);
        QCOMPARE(m_main->DirectCode, 0);
    }

    void cancelChangesNothing()
    {
        const QByteArray before = "[comport]\r\nname=1\r\n[font]\r\nsize=20\r\ncolor=clRed\r\n";
        WriteIni(before);
        TSettingsScreen form(*m_main);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *sample = Child<QLineEdit>(&form, QStringLiteral("Edit1"));
        QCOMPARE(sample->font().pointSize(), 20);
        const QString port = m_main->SerialPort().portname;
        ClickTopic(form, QStringLiteral("ポート名"));
        Click(Child<QRadioButton>(&form, QStringLiteral("RadioButton4")));
        ClickTopic(form, QStringLiteral("文字色"));
        Click(Child<TImage>(&form, QStringLiteral("FontColor_clLime")));
        ClickTopic(form, QStringLiteral("文字の大きさ"));
        auto *size = Child<QSpinBox>(&form, QStringLiteral("SpinEdit1"));
        size->setFocus();
        QTest::keyClick(size, Qt::Key_Up);
        QCOMPARE(sample->font().pointSize(), 21);
        Click(Child<TImage>(&form, QStringLiteral("Image2")));
        QVERIFY(!form.isVisible());
        QCOMPARE(ReadIni(), before);
        QCOMPARE(m_main->SerialPort().portname, port);
        // The next showing reads the file again.
        form.show();
        QCOMPARE(sample->font().pointSize(), 20);
        QCOMPARE(sample->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(Child<QRadioButton>(&form, QStringLiteral("RadioButton2"))->isChecked());
    }

    // The start reads what the first screen does not need once the window is
    // painted: an unreadable colour is said then, once, and the print buffer
    // takes the file's font without the settings screen ever being made.
    void settingsFileIsTakenUpAtStart()
    {
        WriteIni("[back]\r\ncolor=nightblue\r\n[font]\r\nsize=99\r\n" + Cp932::Encode(QStringLiteral("name=ＭＳ 明朝\r\n")));
        m_main->show();
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes->Texts(),
                                  QStringList{QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい")},
                                  60000);
        QCOMPARE(m_main->PrintBuffer()->font().family(), QStringLiteral("ＭＳ 明朝"));
        QCOMPARE(m_main->PrintBuffer()->font().pointSize(), 30);
        TSettingsScreen form(*m_main);
        QCOMPARE(m_boxes->Count(), 1);
        form.show();
        QCOMPARE(Child<QLineEdit>(&form, QStringLiteral("Edit1"))->palette().color(QPalette::Base), QColor(Qt::black));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY(ReadIni().contains("[back]\r\ncolor=clBlack\r\n"));
    }

    void fontNameRoundTripsInCodePage932()
    {
        TSettingsScreen form(*m_main);
        form.show();
        ClickTopic(form, QStringLiteral("フォント名"));
        auto *list = Child<QListWidget>(&form, QStringLiteral("ListBox1"));
        // The machine's fonts need not include a Japanese name; offer one.
        list->addItem(QStringLiteral("ＭＳ 明朝"));
        list->setCurrentRow(list->count() - 1);
        QCOMPARE(Child<QLineEdit>(&form, QStringLiteral("Edit1"))->font().family(), QStringLiteral("ＭＳ 明朝"));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY(ReadIni().contains(Cp932::Encode(QStringLiteral("name=ＭＳ 明朝\r\n"))));
        QCOMPARE(m_main->PrintBuffer()->font().family(), QStringLiteral("ＭＳ 明朝"));
        form.show();
        QCOMPARE(list->currentItem()->text(), QStringLiteral("ＭＳ 明朝"));
    }

    void fontNameThatTheFileCannotHoldIsRefused()
    {
        WriteIni("[font]\r\nname=Sans\r\n");
        TSettingsScreen form(*m_main);
        form.show();
        auto *list = Child<QListWidget>(&form, QStringLiteral("ListBox1"));
        list->addItem(QStringLiteral("맑은 고딕"));
        list->setCurrentRow(list->count() - 1);
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QCOMPARE(m_boxes->Last(),
                 QStringLiteral("フォント名「맑은 고딕」は設定ファイルに保存できません\n別のフォントを選択して下さい"));
        QVERIFY(form.isVisible());
        QCOMPARE(ReadIni(), QByteArray("[font]\r\nname=Sans\r\n"));
    }

    void failedSaveSaysSoAndStillAppliesForTheRun()
    {
        // A folder where the file should be: the rename into place fails.
        QVERIFY(QDir().mkpath(IniPath()));
        TSettingsScreen form(*m_main);
        form.show();
        ClickTopic(form, QStringLiteral("ポート名"));
        Click(Child<QRadioButton>(&form, QStringLiteral("RadioButton2")));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QVERIFY2(m_boxes->Last().startsWith(QStringLiteral("設定を保存できませんでした（")), qPrintable(m_boxes->Last()));
        QVERIFY(m_boxes->Last().endsWith(QStringLiteral("）\n変更はソフトを終了するまで有効です")));
        QVERIFY(QFileInfo(IniPath()).isDir());
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com2"));
    }

    void mainWindowButtonOpensTheScreenModally()
    {
        WriteIni("[comport]\r\nname=0\r\n");
        TSettingsScreen form(*m_main);
        connect(m_main.get(), &TMainWindow::SettingsRequested, &form, [&form] { form.exec(); });
        m_main->show();
        bool wasModal = false;
        QTimer::singleShot(100, &form, [&] {
            wasModal = form.isVisible() && form.isModal();
            ClickTopic(form, QStringLiteral("ポート名"));
            Click(Child<QRadioButton>(&form, QStringLiteral("RadioButton4")));
            Click(Child<TImage>(&form, QStringLiteral("Image1")));
        });
        Click(Child<TImage>(m_main.get(), QStringLiteral("Image4")));
        QVERIFY(wasModal);
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com4"));
        QVERIFY(ReadIni().contains("name=3\r\n"));
    }

    // F2 opens the screen; Enter is OK even on the test button, Escape cancels.
    void keysAloneOpenConfirmAndCancel()
    {
        WriteIni("[comport]\r\nname=0\r\n");
        TSettingsScreen form(*m_main);
        connect(m_main.get(), &TMainWindow::SettingsRequested, &form, [&form] { form.exec(); });
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QString testStatus = QStringLiteral("not opened");
        QTimer::singleShot(100, &form, [&] {
            ClickTopic(form, QStringLiteral("ポート名"));
            QTest::keyClick(Child<QRadioButton>(&form, QStringLiteral("RadioButton3")), Qt::Key_Space);
            auto *test = Child<QPushButton>(&form, QStringLiteral("Button1"));
            test->setFocus();
            QTest::keyClick(test, Qt::Key_Return);
            testStatus = Child<QLabel>(&form, QStringLiteral("Label_TestStatus"))->text();
        });
        QTest::keyClick(m_main.get(), Qt::Key_F2);
        QCOMPARE(testStatus, QString());
        QVERIFY(!form.isVisible());
        QVERIFY(ReadIni().contains("name=2\r\n"));

        const QByteArray saved = ReadIni();
        QTimer::singleShot(100, &form, [&] {
            QTest::keyClick(Child<QRadioButton>(&form, QStringLiteral("RadioButton4")), Qt::Key_Space);
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QTest::keyClick(m_main.get(), Qt::Key_F2);
        QVERIFY(!form.isVisible());
        QCOMPARE(ReadIni(), saved);
    }

    void fileFromAModernEditorIsReadAndWrittenBackInCodePage932()
    {
        // UTF-8 with a byte-order mark, as a modern editor saves it.
        WriteIni("\xEF\xBB\xBF[comport]\r\nname=2\r\n[font]\r\nname=" + QStringLiteral("ＭＳ 明朝").toUtf8() + "\r\n");
        m_main.reset();
        m_main = std::make_unique<TMainWindow>();
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com3"));
        m_boxes->Clear();
        TSettingsScreen form(*m_main);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(Child<QRadioButton>(&form, QStringLiteral("RadioButton3"))->isChecked());
        QCOMPARE(Child<QLineEdit>(&form, QStringLiteral("Edit1"))->font().family(), QStringLiteral("ＭＳ 明朝"));
        Click(Child<TImage>(&form, QStringLiteral("Image1")));
        QCOMPARE(m_boxes->Texts(), QStringList());
        QVERIFY(!form.isVisible());
        const QByteArray written = ReadIni();
        QVERIFY(written.startsWith("[comport]\r\nname=2\r\n"));
        QVERIFY(written.contains(Cp932::Encode(QStringLiteral("[font]\r\nname=ＭＳ 明朝\r\n"))));
        QCOMPARE(m_main->SerialPort().portname, QStringLiteral("com3"));
    }

private:
    TestPictures m_pictures;
    std::unique_ptr<MessageBoxWatcher> m_boxes;
    std::unique_ptr<TMainWindow> m_main;
};

QTEST_MAIN(TestSettingsScreen)
#include "test_settings_screen.moc"
