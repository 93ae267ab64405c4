#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The lock that says which LK-72 keeps the work of a working folder. Home
// folders may sit on a school server, so the lock may name another computer,
// whose program this one cannot ask whether it still runs: a holder keeps
// its lock fresh, and a lock of another computer left untouched for longer
// than a bound, or one that cannot be read at all, belonged to a run that
// ended without closing and is taken over.
class TFolderLock {
public:
    // A holder touches its lock this often.
    static constexpr int RefreshMs = 60 * 1000;
    // Another computer's lock untouched this long has no live holder. Ten
    // refreshes: a busy server or clocks a few minutes apart do not matter.
    static constexpr qint64 AbandonedMs = 10 * RefreshMs;

    enum class TOutcome {
        Taken,                 // the folder was free
        TakenFromOtherComputer, // another computer's run had left its lock
        TakenFromBrokenLock,   // the lock could not be read
        InUseHere,             // a live LK-72 on this computer holds it
        InUseOnOtherComputer,  // another computer holds it and keeps it fresh
        CannotLock,            // the folder refuses the lock
    };

    explicit TFolderLock(QString path);

    // One attempt, without waiting.
    TOutcome Take();
    bool IsHeld() const { return m_lock && m_lock->isLocked(); }
    // The computer named in the lock the last Take found, for the notices.
    QString OtherComputer() const { return m_otherComputer; }
    // Keeps a held lock fresh, so other computers see its holder lives.
    void Refresh();
    void Release();

private:
    TOutcome TakeOver(TOutcome outcome);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QString m_otherComputer;
};
