#include "DragController.h"
#include "FakeHost.h"
#include "Image.h"
#include "MessageBoxWatcher.h"
#include "SonEdit.h"
#include "Step7Screen.h"
#include "Step5Screen.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T = QWidget>
T *Control(QWidget &screen, const QString &name)
{
    T *control = screen.findChild<T *>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

void Click(QWidget &screen, const QString &name)
{
    QTest::mouseClick(Control(screen, name), Qt::LeftButton, {}, QPoint(5, 5));
}

// A screen whose file dialogs pick files in a temporary folder.
template <typename Form>
struct Screen {
    QTemporaryDir dir;
    MessageBoxWatcher boxes{QMessageBox::Yes};
    FakeHost host;
    Form form{host, nullptr};
    QString chosen;
    Screen()
    {
        form.show();
        form.ProgramFile().SetNameChooser([this](bool) { return chosen; });
        boxes.Clear();  // the pictures may be missing in this build
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    void Choose(const QString &name) { chosen = Path(name); }
};

const QString OtherLesson =
    QStringLiteral("指定したファイルを開くことが出来ません\n他のステップで保存されいる可能性があります。");
const QByteArray DefaultWords("red\r\ngreen\r\nblue\r\nyellow\r\npurple\r\nlightblue\r\nwhite\r\noff\r\nloop\r\njump\r\nwait\r\n");

QByteArray Step7File(const QByteArray &notes, const QByteArray &led, const QByteArray &colours)
{
    return "STEP7\r\n" + notes + QByteArray(79 - notes.size(), '?') + "\r\n///\r\n" + led + "\r\n" + colours;
}

} // namespace

class TestFileScreens : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void step5SaveAndRead()
    {
        Screen<TStep5Screen> s;
        auto *editor = Control<TSonEdit>(s.form, QStringLiteral("SonEdit1"));
        auto *red = Control<QLineEdit>(s.form, QStringLiteral("Edit23"));
        red->setText(QStringLiteral("あか"));
        editor->SetText(QStringLiteral("あか(1);\r\nloop(2);"));
        s.Choose("prog");
        Click(s.form, QStringLiteral("Image19"));
        QCOMPARE(s.boxes.Count(), 0);
        QCOMPARE(Bytes(s.Path("prog.lk7")),
                 QByteArray("STEP5\r\n\x82\xa0\x82\xa9\r\n") + DefaultWords.mid(5) + "\x82\xa0\x82\xa9(1);\r\nloop(2);\r\n");

        red->setText(QStringLiteral("red"));
        editor->SetText(QStringLiteral("other"));
        s.host.ProgramList = QStringList(20, QStringLiteral("223"));
        s.Choose("prog.lk7");
        Click(s.form, QStringLiteral("Image13"));
        QCOMPARE(s.boxes.Texts(), QStringList());
        QCOMPARE(red->text(), QStringLiteral("あか"));
        QCOMPARE(editor->GetText(), QStringLiteral("あか(1);\r\nloop(2);\r\n"));
        QVERIFY(s.host.ProgramList.isEmpty());

        // Saved again, the file is the same: the final line end adds no line.
        Click(s.form, QStringLiteral("Image19"));
        QCOMPARE(s.boxes.Last(), QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？"));
        QCOMPARE(Bytes(s.Path("prog.lk7")),
                 QByteArray("STEP5\r\n\x82\xa0\x82\xa9\r\n") + DefaultWords.mid(5) + "\x82\xa0\x82\xa9(1);\r\nloop(2);\r\n");
    }

    void step5RefusesOtherRecords()
    {
        Screen<TStep5Screen> s;
        auto *editor = Control<TSonEdit>(s.form, QStringLiteral("SonEdit1"));
        editor->SetText(QStringLiteral("red(1);"));
        Write(s.Path("blocks.lk7"), "STEP3\r\n159\r\n");
        s.Choose("blocks.lk7");
        Click(s.form, QStringLiteral("Image13"));
        QCOMPARE(s.boxes.Texts(), QStringList({OtherLesson}));
        QCOMPARE(editor->GetText(), QString());
        QCOMPARE(Control<QLineEdit>(s.form, QStringLiteral("Edit23"))->text(), QStringLiteral("red"));

        // Twelve lines: the words and no program.
        Write(s.Path("twelve.lk7"), "STEP5\r\nR\r\n" + DefaultWords.mid(5));
        s.Choose("twelve.lk7");
        editor->SetText(QStringLiteral("x"));
        Click(s.form, QStringLiteral("Image13"));
        QCOMPARE(s.boxes.Count(), 1);
        QCOMPARE(Control<QLineEdit>(s.form, QStringLiteral("Edit23"))->text(), QStringLiteral("R"));
        QCOMPARE(editor->GetText(), QString());
    }

    void step5ShortFile()
    {
        // A file that ends before the words do is refused whole: the words,
        // the program and the checked program stay as they were.
        Screen<TStep5Screen> s;
        auto *editor = Control<TSonEdit>(s.form, QStringLiteral("SonEdit1"));
        Control<QLineEdit>(s.form, QStringLiteral("Edit24"))->setText(QStringLiteral("みどり"));
        editor->SetText(QStringLiteral("みどり(1);"));
        s.host.ProgramList = QStringList(20, QStringLiteral("223"));
        Write(s.Path("cut.LK7"), "STEP5\r\nA\r\nB\r\n");
        s.Choose("cut.LK7");
        Click(s.form, QStringLiteral("Image13"));
        QCOMPARE(s.boxes.Texts(), QStringList({QStringLiteral("ファイルを読み込むことが出来ませんでした\n4行目がありません")}));
        QCOMPARE(s.boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Critical}));
        QCOMPARE(Control<QLineEdit>(s.form, QStringLiteral("Edit23"))->text(), QStringLiteral("red"));
        QCOMPARE(Control<QLineEdit>(s.form, QStringLiteral("Edit24"))->text(), QStringLiteral("みどり"));
        QCOMPARE(editor->GetText(), QStringLiteral("みどり(1);"));
        QCOMPARE(s.host.ProgramList.size(), 20);

        // From a teacher's editor, UTF-8 with a byte-order mark is this lesson's file.
        Write(s.Path("utf8.lk7"), "\xEF\xBB\xBFSTEP5\r\n\xE3\x81\x82\xE3\x81\x8B\r\n" + DefaultWords.mid(5)
                                      + "\xE3\x81\x82\xE3\x81\x8B(1); // \xE8\xB5\xA4\r\n");
        s.Choose("utf8.lk7");
        s.boxes.Clear();
        Click(s.form, QStringLiteral("Image13"));
        QCOMPARE(s.boxes.Texts(), QStringList());
        QCOMPARE(Control<QLineEdit>(s.form, QStringLiteral("Edit23"))->text(), QStringLiteral("あか"));
        QCOMPARE(editor->GetText(), QStringLiteral("あか(1); // 赤\r\n"));
        QVERIFY(s.host.ProgramList.isEmpty());
    }

    void step5UnsavableWord()
    {
        Screen<TStep5Screen> s;
        Control<QLineEdit>(s.form, QStringLiteral("Edit33"))->setText(QStringLiteral("기다려"));
        s.Choose("p.lk7");
        Click(s.form, QStringLiteral("Image19"));
        QCOMPARE(s.boxes.Count(), 1);
        QVERIFY(s.boxes.Last().contains(QStringLiteral("「기」")));
        QVERIFY(QDir(s.dir.path()).isEmpty());
    }

    void step7SaveAndRead()
    {
        QByteArray saved;
        {
            Screen<TStep7Screen> s;
            Click(s.form, QStringLiteral("RadioButton4"));
            // Blue on re, by a drop from the palette.
            QWidget *chip = Control(s.form, QStringLiteral("Image69"));
            const auto mime = TDragController::MimeFor(chip);
            QWidget *key = Control(s.form, QStringLiteral("Image3"));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QCoreApplication::sendEvent(key, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QCoreApplication::sendEvent(key, &drop);
            Click(s.form, QStringLiteral("Image39"));
            Click(s.form, QStringLiteral("Image3"));
            Click(s.form, QStringLiteral("Image1"));
            s.Choose("melody.lk7");
            Click(s.form, QStringLiteral("Image20"));
            QCOMPARE(s.boxes.Count(), 0);
            saved = Bytes(s.Path("melody.lk7"));
            QCOMPARE(saved, Step7File("CA", "1", "64\r\n64\r\n1\r\n" + QByteArray("64\r\n").repeated(11)));
        }
        Screen<TStep7Screen> s;
        Write(s.Path("melody.lk7"), saved);
        s.Choose("melody.lk7");
        Click(s.form, QStringLiteral("Image15"));
        QCOMPARE(s.boxes.Count(), 0);
        QVERIFY(s.form.LedMode());
        QCOMPARE(s.form.KeyColours()[2], 1);
        QCOMPARE(s.form.Melody().Count(), 2);
        QCOMPARE(Control<QLabel>(s.form, QStringLiteral("Label1"))->text(), QStringLiteral("総命令数　2個"));
        QVERIFY(Control(s.form, QStringLiteral("Marker1"))->isVisible());
        QVERIFY(!s.form.PalettePageShown());

        // Another lesson's record changes nothing.
        Write(s.Path("text.lk7"), "STEP5\r\n" + DefaultWords);
        s.Choose("text.lk7");
        Click(s.form, QStringLiteral("Image15"));
        QCOMPARE(s.boxes.Texts(), QStringList({OtherLesson}));
        QCOMPARE(s.form.Melody().Count(), 2);
        QCOMPARE(s.form.KeyColours()[2], 1);
    }

    void step7DamagedColours()
    {
        Screen<TStep7Screen> s;
        s.form.SetLedMode(true);
        s.form.DropColour(1, 2);  // blue on do
        s.form.KeyPress(1);
        s.boxes.Clear();
        const auto colours = s.form.KeyColours();
        // A colour that no key can carry refuses the file: the melody and
        // every key's colour stay as they were.
        Write(s.Path("bad.lk7"), Step7File("ABC", "1", "16\r\n2\r\n5\r\n" + QByteArray("64\r\n").repeated(11)));
        s.Choose("bad.lk7");
        Click(s.form, QStringLiteral("Image15"));
        QCOMPARE(s.boxes.Texts(), QStringList({QStringLiteral("ファイルを読み込むことが出来ませんでした\n7行目「5」は使えない値です")}));
        QCOMPARE(s.boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Critical}));
        QVERIFY(s.form.LedMode());
        QCOMPARE(s.form.Melody().Count(), 1);
        QCOMPARE(s.form.KeyColours(), colours);
        QCOMPARE(s.form.KeyColours()[0], 1);

        // Saved without light, the melody comes back without light.
        Write(s.Path("plain.lk7"), Step7File("A", "0", QByteArray("0\r\n").repeated(14)));
        s.Choose("plain.lk7");
        Click(s.form, QStringLiteral("Image15"));
        QCOMPARE(s.boxes.Count(), 1);
        QVERIFY(!s.form.LedMode());
        QCOMPARE(s.form.Melody().Count(), 1);
        QVERIFY(!Control(s.form, QStringLiteral("MarkerRow1"))->isVisible());
    }
};

QTEST_MAIN(TestFileScreens)
#include "test_file_screens.moc"
