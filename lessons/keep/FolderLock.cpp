#include "FolderLock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

TFolderLock::TFolderLock(QString path)
    : m_path(std::move(path))
{
}

TFolderLock::TOutcome TFolderLock::Take()
{
    if (IsHeld())
        return TOutcome::Taken;
    m_otherComputer.clear();
    m_lock = std::make_unique<QLockFile>(m_path);
    // A run may hold the folder for hours, so age alone frees nothing here;
    // a dead holder on this computer is found (and its lock removed) by Qt.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return TOutcome::Taken;
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_lock.reset();
        return TOutcome::CannotLock;
    }
    qint64 pid = 0;
    QString computer;
    if (!m_lock->getLockInfo(&pid, &computer, nullptr))
        return TakeOver(TOutcome::TakenFromBrokenLock);
    if (computer.isEmpty() || computer == QSysInfo::machineHostName()) {
        m_lock.reset();
        return TOutcome::InUseHere;
    }
    m_otherComputer = computer;
    const qint64 age = QFileInfo(m_path).lastModified().msecsTo(QDateTime::currentDateTime());
    // Either way round: a clock ahead of this one's must not hold the folder for ever.
    if (qAbs(age) <= AbandonedMs) {
        m_lock.reset();
        return TOutcome::InUseOnOtherComputer;
    }
    return TakeOver(TOutcome::TakenFromOtherComputer);
}

TFolderLock::TOutcome TFolderLock::TakeOver(TOutcome outcome)
{
    // A holder alive on this computer keeps a system lock on the file, so
    // the removal fails while it runs, even in the moment it writes the file.
    const bool removed = m_lock->removeStaleLockFile();
    if (m_lock->tryLock(0))
        return removed ? outcome : TOutcome::Taken;
    const bool inUse = m_lock->error() == QLockFile::LockFailedError;
    m_lock.reset();
    return inUse ? TOutcome::InUseHere : TOutcome::CannotLock;
}

void TFolderLock::Refresh()
{
    if (!IsHeld())
        return;
    // Opening for appending changes nothing; a lock that cannot be touched
    // still holds the folder, it only ages.
    QFile file(m_path);
    if (file.open(QIODevice::Append | QIODevice::ExistingOnly))
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}

void TFolderLock::Release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}
