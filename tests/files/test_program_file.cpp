#include "FileSizeLimit.h"
#include "MessageBoxWatcher.h"
#include "ProgramFile.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

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

// A program file with its dialogs answered by the test.
struct Files {
    QTemporaryDir dir;
    MessageBoxWatcher boxes;
    TProgramFile file{nullptr, QStringLiteral("STEP5")};
    QString chosen;
    int dialogs = 0;
    int checks = 0;
    Files()
    {
        file.SetNameChooser([this](bool) {
            ++dialogs;
            return chosen;
        });
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
    std::optional<QStringList> Read(const QString &name)
    {
        chosen = Path(name);
        return file.Read([this] { ++checks; });
    }
};

const QStringList Lines{"STEP5", "赤", "red(1);"};
const QByteArray LinesBytes("STEP5\r\n\x90\xd4\r\nred(1);\r\n");

} // namespace

class TestProgramFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void saveNames()
    {
        Files f;
        // No extension: ".lk7" is appended.
        f.chosen = f.Path("prog");
        QVERIFY(f.file.Save(Lines));
        QCOMPARE(Bytes(f.Path("prog.lk7")), LinesBytes);
        // ".LK7" is taken as typed.
        f.chosen = f.Path("BIG.LK7");
        QVERIFY(f.file.Save(Lines));
        QCOMPARE(Bytes(f.Path("BIG.LK7")), LinesBytes);
        QCOMPARE(f.Entries(), QStringList({"BIG.LK7", "prog.lk7"}));
        QCOMPARE(f.boxes.Count(), 0);

        // Any other extension is refused and nothing is written.
        for (const char *name : {"notes.txt", "prog.lk7x", "prog."}) {
            f.chosen = f.Path(QString::fromLatin1(name));
            QVERIFY(!f.file.Save(Lines));
            QCOMPARE(f.boxes.Last(), QStringLiteral("ファイル形式が違います"));
            QCOMPARE(f.boxes.Icons().last(), QMessageBox::Warning);
        }
        QCOMPARE(f.Entries(), QStringList({"BIG.LK7", "prog.lk7"}));

        // Cancel: no box, nothing written.
        f.boxes.Clear();
        f.chosen.clear();
        QVERIFY(!f.file.Save(Lines));
        QCOMPARE(f.boxes.Count(), 0);
    }

    void overwrite()
    {
        Files f;
        const QByteArray old("STEP5\r\nold\r\n");
        Write(f.Path("p.lk7"), old);
        f.chosen = f.Path("p.lk7");

        f.boxes.SetAnswer(QMessageBox::No);
        QVERIFY(!f.file.Save(Lines));
        QCOMPARE(f.boxes.Last(), QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？"));
        QCOMPARE(f.boxes.Icons().last(), QMessageBox::Question);
        QCOMPARE(Bytes(f.Path("p.lk7")), old);

        // The name without extension names the same file and asks too.
        f.chosen = f.Path("p");
        QVERIFY(!f.file.Save(Lines));
        QCOMPARE(f.boxes.Count(), 2);
        QCOMPARE(Bytes(f.Path("p.lk7")), old);

        f.boxes.SetAnswer(QMessageBox::Yes);
        QVERIFY(f.file.Save(Lines));
        QCOMPARE(Bytes(f.Path("p.lk7")), LinesBytes);
        QCOMPARE(f.Entries(), QStringList({"p.lk7"}));
    }

    void unsavableText()
    {
        Files f;
        f.chosen = f.Path("p.lk7");
        QVERIFY(!f.file.Save({"STEP5", "한국어"}));
        QCOMPARE(f.boxes.Last(), QStringLiteral("ファイルに保存できない文字「한」が含まれています\n別の文字に直してから保存して下さい"));
        QCOMPARE(f.dialogs, 0);
        QVERIFY(f.Entries().isEmpty());
    }

    void writeFailures()
    {
        Files f;
        f.boxes.SetAnswer(QMessageBox::Yes);
        // A folder that does not exist.
        f.chosen = f.Path("gone/p.lk7");
        QVERIFY(!f.file.Save(Lines));
        QVERIFY(f.boxes.Last().startsWith(QStringLiteral("ファイルを保存することが出来ませんでした\n")));
        QVERIFY(f.boxes.Last().endsWith(QStringLiteral("保存先のフォルダが見つかりません。")));
        QCOMPARE(f.boxes.Icons().last(), QMessageBox::Critical);
        QVERIFY(f.Entries().isEmpty());

        // A folder in the way of the name.
        QVERIFY(QDir(f.dir.path()).mkdir("d.lk7"));
        f.chosen = f.Path("d.lk7");
        QVERIFY(!f.file.Save(Lines));
        QVERIFY(f.boxes.Last().startsWith(QStringLiteral("ファイルを保存することが出来ませんでした\n")));
        QVERIFY(f.boxes.Last().endsWith(QStringLiteral("同じ名前のフォルダがあります。")));
        QVERIFY(QFileInfo(f.Path("d.lk7")).isDir());
        QCOMPARE(f.Entries(), QStringList({"d.lk7"}));

        // A folder the pupil may not write to: the old file stays as it was.
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        const QByteArray old("STEP5\r\nold\r\n");
        QVERIFY(QDir(f.dir.path()).mkdir("ro"));
        Write(f.Path("ro/p.lk7"), old);
        QFile::setPermissions(f.Path("ro"), QFile::ReadOwner | QFile::ExeOwner);
        f.chosen = f.Path("ro/p.lk7");
        f.boxes.Clear();
        QVERIFY(!f.file.Save(Lines));
        QCOMPARE(f.boxes.Count(), 2);
        QVERIFY(f.boxes.Last().startsWith(QStringLiteral("ファイルを保存することが出来ませんでした\n")));
        QVERIFY(f.boxes.Last().endsWith(QStringLiteral("このファイルまたはフォルダを使う権限がありません。")));
        QFile::setPermissions(f.Path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Bytes(f.Path("ro/p.lk7")), old);
        QCOMPARE(QDir(f.Path("ro")).entryList(QDir::Files | QDir::Hidden), QStringList({"p.lk7"}));
    }

    // A full disk: the message says so and the old file stays whole.
    void diskFull()
    {
        Files f;
        f.boxes.SetAnswer(QMessageBox::Yes);
        const QByteArray old("STEP5\r\nold\r\n");
        Write(f.Path("p.lk7"), old);
        f.chosen = f.Path("p.lk7");

        bool saved = true;
        {
            const FileSizeLimit full(4);
            saved = f.file.Save(Lines);
        }
        QVERIFY(!saved);
        QVERIFY(f.boxes.Last().startsWith(QStringLiteral("ファイルを保存することが出来ませんでした\n")));
        QVERIFY2(f.boxes.Last().endsWith(QStringLiteral("ファイルに書き込む途中で失敗しました。"))
                     || f.boxes.Last().endsWith(QStringLiteral("ディスクの空きが足りないか、ディスクが使えません。")),
                 qPrintable(f.boxes.Last()));
        QCOMPARE(Bytes(f.Path("p.lk7")), old);
        QCOMPARE(f.Entries(), QStringList({"p.lk7"}));

        // Room again: the same save goes through.
        QVERIFY(f.file.Save(Lines));
        QCOMPARE(Bytes(f.Path("p.lk7")), LinesBytes);
    }

    void readChecks()
    {
        Files f;
        Write(f.Path("A.LK7"), "STEP5\rw\nx\r\ny");
        auto lines = f.Read("A.LK7");
        QVERIFY(lines);
        QCOMPARE(*lines, QStringList({"STEP5", "w", "x", "y"}));
        QCOMPARE(f.checks, 0);
        QCOMPARE(f.boxes.Count(), 0);

        // Another extension is refused before the file is opened.
        Write(f.Path("a.txt"), "STEP5\r\n");
        QVERIFY(!f.Read("a.txt"));
        QCOMPARE(f.boxes.Last(), QStringLiteral("指定したファイルを開くことができません\nファイル名を確認して下さい。"));
        QCOMPARE(f.boxes.Icons().last(), QMessageBox::Information);
        QCOMPARE(f.checks, 0);

        // Another lesson's record: refused after the screen had its chance to act.
        Write(f.Path("s3.lk7"), "STEP3\r\n0\r\n");
        QVERIFY(!f.Read("s3.lk7"));
        QCOMPARE(f.boxes.Last(),
                 QStringLiteral("指定したファイルを開くことが出来ません\n他のステップで保存されいる可能性があります。"));
        QCOMPARE(f.boxes.Icons().last(), QMessageBox::Information);
        QCOMPARE(f.checks, 1);
        Write(f.Path("empty.lk7"), "");
        QVERIFY(!f.Read("empty.lk7"));
        QCOMPARE(f.boxes.Count(), 3);
        QCOMPARE(f.checks, 2);

        // From a teacher's editor: UTF-8, with or without the byte-order mark.
        Write(f.Path("utf8.lk7"), "\xEF\xBB\xBFSTEP5\r\n\xE3\x81\x82\xE3\x81\x8B\r\n");
        lines = f.Read("utf8.lk7");
        QVERIFY(lines);
        QCOMPARE(*lines, QStringList({"STEP5", "あか"}));
        Write(f.Path("utf8.lk7"), "STEP5\n\xE3\x81\x82\xE3\x81\x8B(1);\n");
        lines = f.Read("utf8.lk7");
        QVERIFY(lines);
        QCOMPARE(*lines, QStringList({"STEP5", "あか(1);"}));
        QCOMPARE(f.boxes.Count(), 3);

        // Cancel.
        f.chosen.clear();
        QVERIFY(!f.file.Read());
        QCOMPARE(f.boxes.Count(), 3);
    }

    void saveDialogStartsWithAnEmptyName()
    {
        // The real dialog. A save into a folder that is not there is refused;
        // the next save dialog still starts with an empty name.
        QTemporaryDir dir;
        MessageBoxWatcher boxes;
        TProgramFile file(nullptr, QStringLiteral("STEP5"));
        QStringList shown;
        QString answer = dir.filePath(QStringLiteral("missing/prog.lk7"));
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            shown << name->text();
            if (answer.isEmpty()) {
                dialog->reject();
                return;
            }
            name->setText(answer);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        poll.start(20);
        QVERIFY(!file.Save(Lines));
        QCOMPARE(boxes.Count(), 1);
        QVERIFY2(boxes.Last().endsWith(QStringLiteral("保存先のフォルダが見つかりません。")), qPrintable(boxes.Last()));
        answer.clear();
        QVERIFY(!file.Save(Lines));
        QCOMPARE(shown, QStringList({QString(), QString()}));
        QCOMPARE(boxes.Count(), 1);
    }

    void readFailures()
    {
        Files f;
        // The file is there when the dialog closes and gone when it is read
        // (another pupil's machine removed it from the shared folder).
        Write(f.Path("gone.lk7"), "STEP5\r\n");
        f.file.SetNameChooser([&f](bool) {
            const QString path = f.Path("gone.lk7");
            QFile::remove(path);
            return path;
        });
        QVERIFY(!f.file.Read([&f] { ++f.checks; }));
        QVERIFY(f.boxes.Last().startsWith(QStringLiteral("ファイルを読み込むことが出来ませんでした\n")));
        QVERIFY(f.boxes.Last().endsWith(QStringLiteral("ファイルが見つかりません。")));
        QCOMPARE(f.boxes.Icons().last(), QMessageBox::Critical);
        f.file.SetNameChooser([&f](bool) { return f.chosen; });

        QVERIFY(QDir(f.dir.path()).mkdir("d.lk7"));
        QVERIFY(!f.Read("d.lk7"));
        QCOMPARE(f.boxes.Count(), 2);

        Write(f.Path("huge.lk7"), "STEP5\r\n" + QByteArray(TProgramFile::MaxFileBytes, 'a'));
        QVERIFY(!f.Read("huge.lk7"));
        QVERIFY(f.boxes.Last().endsWith(QStringLiteral("プログラムのファイルとしては大きすぎます。")));
        QCOMPARE(f.checks, 0);
    }
};

QTEST_MAIN(TestProgramFile)
#include "test_program_file.moc"
