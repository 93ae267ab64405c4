#include "FileSizeLimit.h"
#include "MessageBoxWatcher.h"
#include "PageScreen.h"
#include "ProgramFileText.h"
#include "SonEdit.h"
#include "Step3Record.h"
#include "MainWindow.h"
#include "Step7Screen.h"
#include "Step5Screen.h"
#include "WorkKeeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Counts the folder syncs made while a watched file already held its new
// bytes: the only sign, short of cutting the power, that a renamed file's
// new name reached the disk.
struct FolderSyncWatch {
    QString path;
    QByteArray bytes;
    std::atomic<int> syncsAfterRename{0};
};
std::atomic<FolderSyncWatch *> folderSyncWatch{nullptr};

} // namespace

extern "C" int fsync(int fd)
{
    struct stat status {};
    FolderSyncWatch *watch = folderSyncWatch.load();
    if (watch && ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        QFile file(watch->path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == watch->bytes)
            ++watch->syncsAfterRename;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a run that was killed leaves behind: its mark.
void LeaveMarkAsAKilledRunWould(const QString &folder)
{
    QFile mark(folder + QStringLiteral("/autosave/running"));
    QVERIFY(mark.open(QIODevice::WriteOnly));
    mark.write("1\r\n");
}

QStringList Step3Lines(int firstKind, int firstItem)
{
    TStep3Record record;
    record.kinds[0] = firstKind;
    record.itemIndexes[0] = firstItem;
    return Step3RecordLines(record);
}

// A lock file as another program left it, `ageSecs` old.
void WriteLock(const QString &path, const QByteArray &bytes, int ageSecs)
{
    QFile lock(path);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(bytes);
    QVERIFY(lock.flush());  // a later flush would make the file new again
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-ageSecs), QFileDevice::FileModificationTime));
}

void Hover(QWidget &window)
{
    // What the window gets whenever the mouse passes over one of its controls.
    QStatusTipEvent tip(QStringLiteral("次のステップへ移ります"));
    QCoreApplication::sendEvent(&window, &tip);
}

struct Lessons {
    TPageScreen *step3;
    TStep5Screen *step5;
    TStep7Screen *step7;
    explicit Lessons(TMainWindow &form)
        : step3(form.Page(TMainHost::PageStep3))
        , step5(qobject_cast<TStep5Screen *>(form.Page(TMainHost::PageStep5)))
        , step7(qobject_cast<TStep7Screen *>(form.Page(TMainHost::PageStep7)))
    {
    }
    QList<QStringList> Records() const
    {
        return {step3->KeptRecordLines(), step5->KeptRecordLines(), step7->KeptRecordLines()};
    }
};

} // namespace

class TestKeptWork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A change reaches the lesson's file as its record; only a run that left
    // its mark and some work asks about it.
    void keeperWritesRecordsAndKnowsAnUnclosedRun()
    {
        QTemporaryDir dir;
        QStringList lines = Step3Lines(0, -1);
        {
            TWorkKeeper keeper(dir.path());
            QCOMPARE(keeper.Start(), TWorkKeeper::TStartResult::Keeping);
            QVERIFY(!keeper.LastRunUnclosed());
            keeper.AddLesson(QStringLiteral("STEP3"), [&lines] { return lines; });
            lines = Step3Lines(159, 3);
            keeper.Changed(QStringLiteral("STEP3"));
            // Generous: the test waits for the file, it does not time it.
            QTRY_COMPARE_WITH_TIMEOUT(FileBytes(keeper.RecordPath(QStringLiteral("STEP3"))),
                                      ProgramFileText::Encode(lines), 60000);
            QVERIFY(QFile::exists(keeper.MarkPath()));
        }
        {
            TWorkKeeper keeper(dir.path());
            QCOMPARE(keeper.Start(), TWorkKeeper::TStartResult::Keeping);
            QVERIFY2(!keeper.LastRunUnclosed(), "a closed run leaves no mark");
        }
        LeaveMarkAsAKilledRunWould(dir.path());
        TWorkKeeper keeper(dir.path());
        QCOMPARE(keeper.Start(), TWorkKeeper::TStartResult::Keeping);
        QVERIFY(keeper.LastRunUnclosed());
        keeper.AddLesson(QStringLiteral("STEP3"), [] { return Step3Lines(0, -1); });
        QVERIFY(keeper.HasKeptWork());
        QCOMPARE(keeper.KeptRecord(QStringLiteral("STEP3")), Step3Lines(159, 3));

        // An empty program left behind is nothing to ask about.
        QTemporaryDir empty;
        {
            TWorkKeeper first(empty.path());
            first.Start();
            first.AddLesson(QStringLiteral("STEP3"), [] { return Step3Lines(0, -1); });
            first.Changed(QStringLiteral("STEP3"));
        }
        QVERIFY(WholeFileWrite(empty.path() + QStringLiteral("/autosave/STEP3.lk7"), Step3Lines(0, -1)));
        LeaveMarkAsAKilledRunWould(empty.path());
        TWorkKeeper second(empty.path());
        second.Start();
        second.AddLesson(QStringLiteral("STEP3"), [] { return Step3Lines(0, -1); });
        QVERIFY(second.LastRunUnclosed());
        QVERIFY(!second.HasKeptWork());
    }

    // The same account twice: the second neither reads nor writes the
    // first's work, and says why once.
    void secondProgramInTheFolderKeepsNothing()
    {
        QTemporaryDir dir;
        QStringList lines = Step3Lines(167, 1);
        TWorkKeeper first(dir.path());
        QCOMPARE(first.Start(), TWorkKeeper::TStartResult::Keeping);
        first.AddLesson(QStringLiteral("STEP3"), [&lines] { return lines; });
        first.Changed(QStringLiteral("STEP3"));
        first.Flush();
        const QByteArray firstWork = FileBytes(first.RecordPath(QStringLiteral("STEP3")));
        QVERIFY(!firstWork.isEmpty());
        {
            TWorkKeeper second(dir.path());
            QSignalSpy trouble(&second, &TWorkKeeper::Trouble);
            QCOMPARE(second.Start(), TWorkKeeper::TStartResult::FolderInUse);
            QVERIFY(!second.LastRunUnclosed());
            second.AddLesson(QStringLiteral("STEP3"), [] { return Step3Lines(215, 2); });
            second.Changed(QStringLiteral("STEP3"));
            second.Flush();
            QCOMPARE(trouble.count(), 1);
            QCOMPARE(trouble.at(0).at(0).toString(), TWorkKeeper::FolderInUseText());
        }
        QCOMPARE(FileBytes(first.RecordPath(QStringLiteral("STEP3"))), firstWork);
        QVERIFY2(QFile::exists(first.MarkPath()), "the second program's end removed the first's mark");
    }

    // A full disk: the last good record stays whole, the pupil is told once,
    // and keeping resumes when there is room again.
    void fullDiskKeepsTheLastGoodRecord()
    {
        QTemporaryDir dir;
        QStringList lines = Step3Lines(159, 1);
        TWorkKeeper keeper(dir.path());
        QSignalSpy trouble(&keeper, &TWorkKeeper::Trouble);
        QCOMPARE(keeper.Start(), TWorkKeeper::TStartResult::Keeping);
        keeper.AddLesson(QStringLiteral("STEP3"), [&lines] { return lines; });
        keeper.Changed(QStringLiteral("STEP3"));
        keeper.Flush();
        const QString path = keeper.RecordPath(QStringLiteral("STEP3"));
        const QByteArray good = FileBytes(path);
        QCOMPARE(good, ProgramFileText::Encode(lines));
        {
            FileSizeLimit full(40);
            for (int kind : {175, 183}) {
                lines = Step3Lines(kind, 2);
                keeper.Changed(QStringLiteral("STEP3"));
                keeper.Flush();
            }
        }
        QCOMPARE(FileBytes(path), good);
        QCOMPARE(trouble.count(), 1);
        QVERIFY(trouble.at(0).at(0).toString().startsWith(TWorkKeeper::CannotKeepText(QString())));
        QCOMPARE(QDir(dir.path() + QStringLiteral("/autosave")).entryList(QDir::Files, QDir::Name),
                 QStringList({QStringLiteral("STEP3.lk7"), QStringLiteral("running")}));
        keeper.Changed(QStringLiteral("STEP3"));
        keeper.Flush();
        QCOMPARE(FileBytes(path), ProgramFileText::Encode(lines));
    }

    // The main window: work on STEP3, STEP5 and STEP7 comes back after a
    // killed run when the pupil says yes, nothing is sent, and "no" leaves
    // the screens fresh and the files as they were.
    void lessonsComeBackAfterAKilledRun()
    {
        QTemporaryDir dir;
        QList<QStringList> before;
        {
            MessageBoxWatcher boxes;
            TMainWindow form;
            form.StartKeepingWork(dir.path());
            Lessons lessons(form);
            lessons.step3->RestoreKeptRecord(Step3Lines(175, 4));
            QTest::keyClicks(lessons.step5->findChild<TSonEdit *>(QStringLiteral("SonEdit1")), QStringLiteral("aka 3"));
            lessons.step5->findChild<QLineEdit *>(QStringLiteral("Edit23"))->setText(QStringLiteral("aka"));
            lessons.step7->SetLedMode(true);
            lessons.step7->KeyPress(1);
            lessons.step7->KeyPress(5);
            lessons.step7->DropColour(5, 2);
            before = lessons.Records();
            const QString step7 = dir.path() + QStringLiteral("/autosave/STEP7.lk7");
            QTRY_COMPARE_WITH_TIMEOUT(FileBytes(step7), ProgramFileText::Encode(before.at(2)), 60000);
            QVERIFY(boxes.Texts().isEmpty() || !boxes.Texts().contains(TMainWindow::KeptWorkQuestion()));
        }
        LeaveMarkAsAKilledRunWould(dir.path());
        QDir autosave(dir.path() + QStringLiteral("/autosave"));
        QByteArray files;
        for (const char *name : {"STEP3.lk7", "STEP5.lk7", "STEP7.lk7"})
            files += FileBytes(autosave.filePath(QString::fromLatin1(name)));
        {
            MessageBoxWatcher boxes(QMessageBox::No);
            TMainWindow form;
            const QList<QStringList> fresh = Lessons(form).Records();
            form.StartKeepingWork(dir.path());
            QVERIFY(boxes.Texts().contains(TMainWindow::KeptWorkQuestion()));
            QCOMPARE(Lessons(form).Records(), fresh);
            QVERIFY(fresh != before);
        }
        LeaveMarkAsAKilledRunWould(dir.path());  // that run too ended without closing
        QByteArray after;
        for (const char *name : {"STEP3.lk7", "STEP5.lk7", "STEP7.lk7"})
            after += FileBytes(autosave.filePath(QString::fromLatin1(name)));
        QCOMPARE(after, files);

        MessageBoxWatcher boxes;  // Return: the default button
        TMainWindow form;
        form.StartKeepingWork(dir.path());
        QCOMPARE(boxes.Texts().count(TMainWindow::KeptWorkQuestion()), 1);
        QCOMPARE(boxes.Icons().at(boxes.Texts().indexOf(TMainWindow::KeptWorkQuestion())), QMessageBox::Question);
        Lessons lessons(form);
        QCOMPARE(lessons.Records(), before);
        QCOMPARE(lessons.step5->CommandWords().first(), QStringLiteral("aka"));
        QVERIFY(lessons.step7->LedMode());
        QCOMPARE(lessons.step7->Melody().Count(), 2);
        QVERIFY2(form.ProgramList.isEmpty() && form.TransferMode == 0, "bringing work back sent something");
    }

    // A killed run that kept only the lessons' empty programs asks nothing:
    // the pages are built after start, yet their empty programs are told
    // from work.
    void emptyProgramsOfAKilledRunAskNothing()
    {
        QTemporaryDir dir;
        {
            TMainWindow form;
            form.StartKeepingWork(dir.path());
            const Lessons lessons(form);
            for (TPageScreen *page : {lessons.step3, static_cast<TPageScreen *>(lessons.step5),
                                      static_cast<TPageScreen *>(lessons.step7)})
                Q_EMIT page->KeptRecordChanged();
            const QList<QStringList> records = lessons.Records();
            const QStringList names = {QStringLiteral("STEP3"), QStringLiteral("STEP5"), QStringLiteral("STEP7")};
            for (qsizetype i = 0; i < names.size(); ++i) {
                const QString path = dir.path() + QStringLiteral("/autosave/") + names.at(i) + QStringLiteral(".lk7");
                const QByteArray empty = ProgramFileText::Encode(records.at(i));
                QTRY_COMPARE_WITH_TIMEOUT(FileBytes(path), empty, 60000);
            }
        }
        LeaveMarkAsAKilledRunWould(dir.path());
        MessageBoxWatcher boxes;
        TMainWindow form;
        form.StartKeepingWork(dir.path());
        QVERIFY(!boxes.Texts().contains(TMainWindow::KeptWorkQuestion()));
        QVERIFY(!form.PageBuilt(TMainHost::PageStep2));
    }

    // A lock whose holder cannot be alive is taken over, saying whose it
    // was; a live one keeps this run from the folder and is left alone.
    void lockWhoseHolderCannotBeAlive_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("ageSecs");
        QTest::addColumn<bool>("keeping");
        QTest::addColumn<QString>("notice");
        const QByteArray otherComputer = "4242\nlk72\nclassroom-pc-07\n";
        QTest::newRow("empty lock") << QByteArray() << 0 << true << TWorkKeeper::TakenFromBrokenLockText();
        QTest::newRow("garbage lock") << QByteArray("\x89PNG\r\n\x1a\n") << 0 << true
                                      << TWorkKeeper::TakenFromBrokenLockText();
        QTest::newRow("another computer's, left an hour ago")
            << otherComputer << 3600 << true << TWorkKeeper::TakenFromOtherComputerText(QStringLiteral("classroom-pc-07"));
        QTest::newRow("another computer's, fresh")
            << otherComputer << 0 << false << TWorkKeeper::OtherComputerUsesFolderText(QStringLiteral("classroom-pc-07"));
        QTest::newRow("this computer's, its program gone")
            << ("4194303\nlk72\n" + QSysInfo::machineHostName().toUtf8() + "\n") << 0 << true << QString();
    }
    void lockWhoseHolderCannotBeAlive()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, ageSecs);
        QFETCH(bool, keeping);
        QFETCH(QString, notice);
        QTemporaryDir dir;
        TWorkKeeper keeper(dir.path());
        WriteLock(keeper.LockPath(), lock, ageSecs);
        QSignalSpy trouble(&keeper, &TWorkKeeper::Trouble);
        QCOMPARE(keeper.Start(), keeping ? TWorkKeeper::TStartResult::Keeping : TWorkKeeper::TStartResult::FolderInUse);
        QCOMPARE(trouble.count(), notice.isEmpty() ? 0 : 1);
        if (!notice.isEmpty())
            QCOMPARE(trouble.at(0).at(0).toString(), notice);
        const QStringList lines = Step3Lines(199, 2);
        keeper.AddLesson(QStringLiteral("STEP3"), [&lines] { return lines; });
        keeper.Changed(QStringLiteral("STEP3"));
        keeper.Flush();
        const QByteArray ownLock = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
        if (keeping) {
            QCOMPARE(FileBytes(keeper.RecordPath(QStringLiteral("STEP3"))), ProgramFileText::Encode(lines));
            QVERIFY(FileBytes(keeper.LockPath()).startsWith(ownLock));
        } else {
            QVERIFY(!QFile::exists(keeper.RecordPath(QStringLiteral("STEP3"))));
            QCOMPARE(FileBytes(keeper.LockPath()), lock);
        }
    }

    // いいえ keeps the last run's work as ordinary program files in the
    // working folder, where the read button finds them; the new run's
    // changes overwrite only its own record.
    void declinedWorkIsSetAsideForTheReadButton()
    {
        QTemporaryDir dir;
        QByteArray kept;
        {
            TMainWindow form;
            form.StartKeepingWork(dir.path());
            QTest::keyClicks(Lessons(form).step5->findChild<TSonEdit *>(QStringLiteral("SonEdit1")), QStringLiteral("aka 3"));
            kept = ProgramFileText::Encode(Lessons(form).step5->KeptRecordLines());
            QTRY_COMPARE_WITH_TIMEOUT(FileBytes(dir.path() + QStringLiteral("/autosave/STEP5.lk7")), kept, 60000);
        }
        LeaveMarkAsAKilledRunWould(dir.path());
        MessageBoxWatcher boxes(QMessageBox::No);
        TMainWindow form;
        form.StartKeepingWork(dir.path());
        QVERIFY(boxes.Texts().contains(TMainWindow::KeptWorkQuestion()));
        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("*.lk7")}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QVERIFY(aside.first().startsWith(QStringLiteral("STEP5_自動保存_")));
        QCOMPARE(FileBytes(dir.filePath(aside.first())), kept);
        QCOMPARE(form.HintAreaText(), TWorkKeeper::SetAsideText(aside));

        QTest::keyClicks(Lessons(form).step5->findChild<TSonEdit *>(QStringLiteral("SonEdit1")), QStringLiteral("ao 2"));
        const QByteArray now = ProgramFileText::Encode(Lessons(form).step5->KeptRecordLines());
        QTRY_COMPARE_WITH_TIMEOUT(FileBytes(dir.path() + QStringLiteral("/autosave/STEP5.lk7")), now, 60000);
        QCOMPARE(FileBytes(dir.filePath(aside.first())), kept);
    }

    // A power cut right after a record is renamed into place keeps it only
    // when the folder holding the new name was synced after the rename.
    void renamedRecordReachesTheDiskWithItsFolder()
    {
        QTemporaryDir dir;
        QStringList lines = Step3Lines(207, 5);
        TWorkKeeper keeper(dir.path());
        QCOMPARE(keeper.Start(), TWorkKeeper::TStartResult::Keeping);
        keeper.AddLesson(QStringLiteral("STEP3"), [&lines] { return lines; });
        lines = Step3Lines(191, 3);
        FolderSyncWatch watch;
        watch.path = keeper.RecordPath(QStringLiteral("STEP3"));
        watch.bytes = ProgramFileText::Encode(lines);
        folderSyncWatch = &watch;
        keeper.Changed(QStringLiteral("STEP3"));
        keeper.Flush();
        folderSyncWatch = nullptr;
        QVERIFY(watch.syncsAfterRename > 0);
    }

    void questionSaysYesAndNoInJapaneseWithYesTheDefault()
    {
        const std::unique_ptr<QMessageBox> box = TMainWindow::KeptWorkQuestionBox(nullptr);
        QCOMPARE(box->text(), QStringLiteral("前回、保存しないで終わったプログラムがあります。元に戻しますか？"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->buttons().size(), 2);
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい"));
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
    }

    // A second window on the same folder says so in the hint area, where a
    // hover does not wipe it, and asks nothing; once the first has closed it
    // keeps the pupil's work, the changes made meanwhile included.
    void secondWindowKeepsNothingUntilTheFirstCloses()
    {
        QTemporaryDir dir;
        MessageBoxWatcher boxes;
        auto first = std::make_unique<TMainWindow>();
        first->StartKeepingWork(dir.path());
        TMainWindow second;
        second.StartKeepingWork(dir.path());
        QCOMPARE(second.HintAreaText(), TWorkKeeper::FolderInUseText());
        Hover(second);
        QCOMPARE(second.HintAreaText(), TWorkKeeper::FolderInUseText());
        QVERIFY(!boxes.Texts().contains(TMainWindow::KeptWorkQuestion()));

        QTest::keyClicks(Lessons(second).step5->findChild<TSonEdit *>(QStringLiteral("SonEdit1")), QStringLiteral("midori 1"));
        first.reset();
        QTRY_COMPARE_WITH_TIMEOUT(second.HintAreaText(), TWorkKeeper::FolderFreedText(), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(FileBytes(dir.path() + QStringLiteral("/autosave/STEP5.lk7")),
                                  ProgramFileText::Encode(Lessons(second).step5->KeptRecordLines()), 60000);
    }

private:
    static bool WholeFileWrite(const QString &path, const QStringList &lines)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(ProgramFileText::Encode(lines)) > 0;
    }
};

QTEST_MAIN(TestKeptWork)
#include "test_kept_work.moc"
