#pragma once

#include "FolderLock.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <functional>
#include <optional>

// Keeps each lesson's program in the working folder while the program runs,
// as the lesson's own record ("autosave/STEP3.lk7" and so on), so that a
// killed run, a crash or a power cut loses at most the last moments of a
// pupil's work. It also marks the folder while a run holds it, so the next
// start knows whether the last run ended without closing. A run that finds
// the folder held by a live LK-72 keeps nothing until that one ends, then
// takes the folder over.
//
// A change only arms a timer; when it fires the records are taken from their
// lessons and handed to a writer thread, so a slow or full disk never holds
// up the user-interface thread nor a transfer's pauses.
class TWorkKeeper : public QObject {
    Q_OBJECT
public:
    using TRecordSource = std::function<QStringList()>;

    // Records are written at most this long after the first change.
    static constexpr int WriteDelayMs = 400;
    // A run kept from the folder looks this often whether it is free.
    static constexpr int FolderFreeCheckMs = 5000;

    explicit TWorkKeeper(QString workFolder, QObject *parent = nullptr);
    ~TWorkKeeper() override;

    enum class TStartResult { Keeping, FolderInUse, CannotKeep };
    // Takes the working folder for this run: its lock, then the run mark.
    // A lock whose holder cannot be alive is taken over, saying whose it was.
    // When a live program holds the lock the keeper stays off, never touches
    // that program's records, and starts keeping once the folder is free.
    TStartResult Start();
    bool IsKeeping() const { return m_keeping; }
    // The run before this one in the folder was never closed: its mark was
    // still there when Start took the lock.
    bool LastRunUnclosed() const { return m_lastRunUnclosed; }

    // A lesson whose record is kept; what `source` gives now counts as the
    // lesson's empty program.
    void AddLesson(const QString &lessonName, TRecordSource source);
    // The same for a lesson whose record is taken only after a change and
    // whose empty program `emptyRecord` gives, asked only when a kept record
    // has to be told from it (the lesson's screen is built on first use).
    void AddLesson(const QString &lessonName, TRecordSource source, TRecordSource emptyRecord);
    // The lines of the lesson's kept record, empty when there is none.
    QStringList KeptRecord(const QString &lessonName) const;
    // Some lesson's kept record holds more than its empty program.
    bool HasKeptWork();
    // Copies every kept record that holds work beside the autosave folder as
    // an ordinary program file, before the lessons' changes overwrite them;
    // says where. False, keeping stopped and the run mark left for the next
    // start to ask again, when a copy cannot be made.
    bool SetAsideKeptWork();

    // The lesson's program has changed: its record is written soon.
    void Changed(const QString &lessonName);
    // Takes the changed records from their lessons and hands them to the
    // writer without waiting (what the timer does; the bench times it).
    void WriteDue();
    // Writes every pending record now and returns once they are on disk.
    void Flush();
    // A clean end: flushes, removes the run mark and gives up the lock.
    void Close();

    QString RecordPath(const QString &lessonName) const;
    QString MarkPath() const;
    QString LockPath() const;
    // Where set-aside records go: the working folder.
    QString AsideFolder() const { return m_folder; }

    static QString FolderInUseText();
    static QString OtherComputerUsesFolderText(const QString &computer);
    static QString TakenFromOtherComputerText(const QString &computer);
    static QString TakenFromBrokenLockText();
    static QString FolderFreedText();
    static QString SetAsideText(const QStringList &fileNames);
    static QString CannotKeepText(const QString &reason);

Q_SIGNALS:
    // What the pupil must know about the keeping: why the work is not kept,
    // whose lock was taken over, where declined work went. Each said once.
    void Trouble(const QString &text);

private:
    struct TLesson {
        TRecordSource source;
        TRecordSource emptySource;
        std::optional<QStringList> emptyRecord;  // asked of emptySource once
        QStringList written;  // what the file holds as far as this run knows
    };
    void Written(const QString &path, int error);
    void Complain(const QString &reason);
    bool HoldsWork(const QString &lessonName);
    QStringList EmptyRecord(const QString &lessonName);
    // Adds the name of each copy made; false (and said why) when one fails.
    bool CopyKeptWorkAside(QStringList &names);
    // The run mark, then keeping; false (lock given back) when the mark cannot be written.
    bool BeginKeeping();
    void StopKeeping();
    void TakeOverWhenFree();
    // Whose lock was taken over; empty when the folder was simply free.
    QString TakenOverText(TFolderLock::TOutcome outcome) const;
    void LockTimerFired();

    QString m_folder;
    QString m_autosaveFolder;
    TFolderLock m_lock;
    QTimer m_lockTimer;
    bool m_keeping = false;
    bool m_lastRunUnclosed = false;
    bool m_complained = false;
    QHash<QString, TLesson> m_lessons;
    QSet<QString> m_dirty;
    QTimer m_timer;
    QThread m_writerThread;
    QObject *m_writer = nullptr;  // lives in m_writerThread
};
