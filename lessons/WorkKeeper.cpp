#include "WorkKeeper.h"

#include "ProgramFileText.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

// A kept record larger than this is no lesson's program.
constexpr qint64 MaxRecordBytes = 1024 * 1024;

} // namespace

TWorkKeeper::TWorkKeeper(QString workFolder, QObject *parent)
    : QObject(parent)
    , m_folder(QDir(workFolder).absolutePath() + QLatin1Char('/'))
    , m_autosaveFolder(m_folder + QStringLiteral("autosave/"))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(WriteDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &TWorkKeeper::WriteDue);
    m_writerThread.setObjectName(QStringLiteral("WorkKeeperWriter"));
    m_writer = new QObject;
    m_writer->moveToThread(&m_writerThread);
    connect(&m_writerThread, &QThread::finished, m_writer, &QObject::deleteLater);
    m_writerThread.start(QThread::LowPriority);
}

TWorkKeeper::~TWorkKeeper()
{
    Close();
    m_writerThread.quit();
    m_writerThread.wait();
}

QString TWorkKeeper::RecordPath(const QString &lessonName) const
{
    return m_autosaveFolder + lessonName + ProgramFileText::Extension;
}

QString TWorkKeeper::MarkPath() const
{
    return m_autosaveFolder + QStringLiteral("running");
}

QString TWorkKeeper::LockPath() const
{
    return m_folder + QStringLiteral("LK-72.lock");
}

QString TWorkKeeper::FolderInUseText()
{
    return QStringLiteral("同じ作業フォルダを別のLK-72が使っているため、このLK-72ではプログラムを自動保存しません");
}

QString TWorkKeeper::CannotKeepText(const QString &reason)
{
    return QStringLiteral("プログラムを自動保存できません。") + reason;
}

TWorkKeeper::TStartResult TWorkKeeper::Start()
{
    if (m_keeping)
        return TStartResult::Keeping;
    QDir().mkpath(m_autosaveFolder);
    m_lock = std::make_unique<QLockFile>(LockPath());
    // A run may hold the folder for hours: only a dead holder frees it, never age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const bool inUse = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        if (inUse) {
            m_complained = true;
            Q_EMIT Trouble(FolderInUseText());
            return TStartResult::FolderInUse;
        }
        Complain(WholeFile::ReasonText(QFileDevice::PermissionsError));
        return TStartResult::CannotKeep;
    }
    m_lastRunUnclosed = QFile::exists(MarkPath());
    const QByteArray mark = QByteArray::number(QCoreApplication::applicationPid()) + "\r\n";
    const QFileDevice::FileError error = WholeFile::Write(MarkPath(), mark);
    if (error != QFileDevice::NoError) {
        // Without its mark a run could end unnoticed, so nothing is kept.
        m_lock->unlock();
        m_lock.reset();
        Complain(WholeFile::ReasonText(error));
        return TStartResult::CannotKeep;
    }
    m_keeping = true;
    return TStartResult::Keeping;
}

void TWorkKeeper::AddLesson(const QString &lessonName, TRecordSource source)
{
    TLesson lesson;
    lesson.emptyRecord = source();
    lesson.written = KeptRecord(lessonName);
    lesson.source = std::move(source);
    m_lessons.insert(lessonName, std::move(lesson));
}

QStringList TWorkKeeper::KeptRecord(const QString &lessonName) const
{
    QFile file(RecordPath(lessonName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxRecordBytes)
        return {};
    return ProgramFileText::Decode(file.readAll());
}

bool TWorkKeeper::HasKeptWork() const
{
    for (auto it = m_lessons.cbegin(); it != m_lessons.cend(); ++it) {
        const QStringList kept = KeptRecord(it.key());
        if (!kept.isEmpty() && kept.first() == it.key() && kept != it->emptyRecord)
            return true;
    }
    return false;
}

void TWorkKeeper::Changed(const QString &lessonName)
{
    if (!m_keeping || !m_lessons.contains(lessonName))
        return;
    m_dirty.insert(lessonName);
    // Not restarted by later changes: steady typing is still kept in time.
    if (!m_timer.isActive())
        m_timer.start();
}

void TWorkKeeper::WriteDue()
{
    for (const QString &name : std::as_const(m_dirty)) {
        TLesson &lesson = m_lessons[name];
        QStringList lines = lesson.source();
        if (lines == lesson.written)
            continue;
        lesson.written = lines;
        const QString path = RecordPath(name);
        // Encoding costs the most; it is done beside the writing.
        QMetaObject::invokeMethod(
            m_writer,
            [this, name, path, lines] {
                const int error = WholeFile::Write(path, ProgramFileText::Encode(lines));
                QMetaObject::invokeMethod(this, [this, name, error] { Written(name, error); }, Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
    }
    m_dirty.clear();
}

void TWorkKeeper::Written(const QString &lessonName, int error)
{
    if (error == QFileDevice::NoError)
        return;
    // The file still holds the last good record; the next change tries again.
    auto lesson = m_lessons.find(lessonName);
    if (lesson != m_lessons.end())
        lesson->written.clear();
    Complain(WholeFile::ReasonText(static_cast<QFileDevice::FileError>(error)));
}

void TWorkKeeper::Complain(const QString &reason)
{
    if (m_complained)
        return;
    m_complained = true;
    Q_EMIT Trouble(CannotKeepText(reason));
}

void TWorkKeeper::Flush()
{
    if (!m_keeping)
        return;
    m_timer.stop();
    WriteDue();
    QMetaObject::invokeMethod(m_writer, [] {}, Qt::BlockingQueuedConnection);
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TWorkKeeper::Close()
{
    if (!m_keeping)
        return;
    Flush();
    m_keeping = false;
    QFile::remove(MarkPath());
    m_lock->unlock();
    m_lock.reset();
}
