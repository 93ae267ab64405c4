#include "WorkKeeper.h"

#include "KeptRecordAside.h"
#include "ProgramFileText.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// A kept record larger than this is no lesson's program.
constexpr qint64 MaxRecordBytes = 1024 * 1024;

// A computer's name is written by whoever made the lock; a long one would
// push the rest of the notice out of the hint area.
QString ShortComputerName(const QString &computer)
{
    constexpr int MaxChars = 32;
    return computer.size() <= MaxChars ? computer : computer.left(MaxChars - 1) + QStringLiteral("…");
}

} // namespace

TWorkKeeper::TWorkKeeper(QString workFolder, QObject *parent)
    : QObject(parent)
    , m_folder(QDir(workFolder).absolutePath() + QLatin1Char('/'))
    , m_autosaveFolder(m_folder + QStringLiteral("autosave/"))
    , m_lock(m_folder + QStringLiteral("LK-72.lock"))
{
    connect(&m_lockTimer, &QTimer::timeout, this, &TWorkKeeper::LockTimerFired);
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
    return QStringLiteral("同じ作業フォルダを別のLK-72が使っているため、このLK-72ではプログラムを自動保存しません。"
                          "そちらが終わると自動保存を始めます");
}

QString TWorkKeeper::OtherComputerUsesFolderText(const QString &computer)
{
    return QStringLiteral("同じ作業フォルダをコンピュータ「%1」のLK-72が使っているため、このLK-72ではプログラムを自動保存しません。"
                          "そちらが終わると自動保存を始めます")
        .arg(ShortComputerName(computer));
}

QString TWorkKeeper::TakenFromOtherComputerText(const QString &computer)
{
    return QStringLiteral("コンピュータ「%1」のLK-72が作業フォルダを使ったまま終わっていたため、このLK-72が自動保存を引き継ぎました")
        .arg(ShortComputerName(computer));
}

QString TWorkKeeper::TakenFromBrokenLockText()
{
    return QStringLiteral("作業フォルダの使用中の印（LK-72.lock）が壊れていたため、作り直して自動保存を始めました");
}

QString TWorkKeeper::FolderFreedText()
{
    return QStringLiteral("作業フォルダを使っていた別のLK-72が終わったため、このLK-72でプログラムの自動保存を始めました");
}

QString TWorkKeeper::SetAsideText(const QStringList &fileNames)
{
    return QStringLiteral("前回のプログラムは作業フォルダ（LK-72Temp）に残したので、読み込みボタンで開けます：")
           + fileNames.join(QStringLiteral("、"));
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
    using TOutcome = TFolderLock::TOutcome;
    const TOutcome outcome = m_lock.Take();
    switch (outcome) {
    case TOutcome::InUseHere:
    case TOutcome::InUseOnOtherComputer:
        Q_EMIT Trouble(outcome == TOutcome::InUseHere ? FolderInUseText()
                                                      : OtherComputerUsesFolderText(m_lock.OtherComputer()));
        m_lockTimer.start(FolderFreeCheckMs);
        return TStartResult::FolderInUse;
    case TOutcome::CannotLock:
        Complain(WholeFile::ReasonText(QFileDevice::PermissionsError));
        return TStartResult::CannotKeep;
    case TOutcome::Taken:
    case TOutcome::TakenFromOtherComputer:
    case TOutcome::TakenFromBrokenLock:
        break;
    }
    if (!BeginKeeping())
        return TStartResult::CannotKeep;
    const QString takenOver = TakenOverText(outcome);
    if (!takenOver.isEmpty())
        Q_EMIT Trouble(takenOver);
    return TStartResult::Keeping;
}

QString TWorkKeeper::TakenOverText(TFolderLock::TOutcome outcome) const
{
    switch (outcome) {
    case TFolderLock::TOutcome::TakenFromOtherComputer:
        return TakenFromOtherComputerText(m_lock.OtherComputer());
    case TFolderLock::TOutcome::TakenFromBrokenLock:
        return TakenFromBrokenLockText();
    default:
        return {};
    }
}

bool TWorkKeeper::BeginKeeping()
{
    m_lastRunUnclosed = QFile::exists(MarkPath());
    const QByteArray mark = QByteArray::number(QCoreApplication::applicationPid()) + "\r\n";
    const QFileDevice::FileError error = WholeFile::Write(MarkPath(), mark);
    if (error != QFileDevice::NoError) {
        // Without its mark a run could end unnoticed, so nothing is kept.
        m_lock.Release();
        Complain(WholeFile::ReasonText(error));
        return false;
    }
    m_keeping = true;
    m_lockTimer.start(TFolderLock::RefreshMs);
    return true;
}

void TWorkKeeper::LockTimerFired()
{
    if (m_keeping)
        m_lock.Refresh();
    else
        TakeOverWhenFree();
}

void TWorkKeeper::TakeOverWhenFree()
{
    using TOutcome = TFolderLock::TOutcome;
    const TOutcome outcome = m_lock.Take();
    if (outcome == TOutcome::InUseHere || outcome == TOutcome::InUseOnOtherComputer)
        return;
    m_lockTimer.stop();
    if (outcome == TOutcome::CannotLock) {
        Complain(WholeFile::ReasonText(QFileDevice::PermissionsError));
        return;
    }
    if (!BeginKeeping())
        return;
    for (auto it = m_lessons.begin(); it != m_lessons.end(); ++it)
        it->written = KeptRecord(it.key());
    QString text = TakenOverText(outcome);
    if (text.isEmpty())
        text = FolderFreedText();
    // This run's screens are the pupil's now; what the ended run left
    // unclosed is not asked about mid-lesson but kept where it can be read.
    QStringList setAside;
    if (m_lastRunUnclosed && !CopyKeptWorkAside(setAside))
        return;
    if (!setAside.isEmpty())
        text += QLatin1Char('\n') + SetAsideText(setAside);
    Q_EMIT Trouble(text);
    if (!m_dirty.isEmpty())
        m_timer.start();
}

void TWorkKeeper::AddLesson(const QString &lessonName, TRecordSource source)
{
    const QStringList empty = source();
    AddLesson(lessonName, std::move(source), [empty] { return empty; });
}

void TWorkKeeper::AddLesson(const QString &lessonName, TRecordSource source, TRecordSource emptyRecord)
{
    TLesson lesson;
    lesson.emptySource = std::move(emptyRecord);
    lesson.written = KeptRecord(lessonName);
    lesson.source = std::move(source);
    m_lessons.insert(lessonName, std::move(lesson));
}

QStringList TWorkKeeper::EmptyRecord(const QString &lessonName)
{
    const auto found = m_lessons.find(lessonName);
    if (found == m_lessons.end())
        return {};
    if (!found->emptyRecord)
        found->emptyRecord = found->emptySource();
    return *found->emptyRecord;
}

QStringList TWorkKeeper::KeptRecord(const QString &lessonName) const
{
    QFile file(RecordPath(lessonName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxRecordBytes)
        return {};
    return ProgramFileText::Decode(file.readAll());
}

bool TWorkKeeper::HoldsWork(const QString &lessonName)
{
    const QStringList kept = KeptRecord(lessonName);
    return !kept.isEmpty() && kept.first() == lessonName && kept != EmptyRecord(lessonName);
}

bool TWorkKeeper::HasKeptWork()
{
    const QStringList lessons = m_lessons.keys();
    return std::any_of(lessons.cbegin(), lessons.cend(), [this](const QString &name) { return HoldsWork(name); });
}

bool TWorkKeeper::SetAsideKeptWork()
{
    QStringList names;
    if (!CopyKeptWorkAside(names))
        return false;
    if (!names.isEmpty())
        Q_EMIT Trouble(SetAsideText(names));
    return true;
}

bool TWorkKeeper::CopyKeptWorkAside(QStringList &names)
{
    QStringList lessons = m_lessons.keys();
    lessons.sort();
    for (const QString &lesson : std::as_const(lessons)) {
        if (!HoldsWork(lesson))
            continue;
        QFileDevice::FileError error = QFileDevice::NoError;
        const QString name = KeptRecordAside::Copy(RecordPath(lesson), AsideFolder(), lesson, error);
        if (name.isEmpty()) {
            StopKeeping();
            Complain(WholeFile::ReasonText(error));
            return false;
        }
        names.append(name);
    }
    return true;
}

void TWorkKeeper::Changed(const QString &lessonName)
{
    if (!m_lessons.contains(lessonName))
        return;
    // Remembered while the folder is another's too: taken over later, this
    // run's changes are written then.
    m_dirty.insert(lessonName);
    // Not restarted by later changes: steady typing is still kept in time.
    if (m_keeping && !m_timer.isActive())
        m_timer.start();
}

void TWorkKeeper::WriteDue()
{
    if (!m_keeping)
        return;
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

void TWorkKeeper::StopKeeping()
{
    m_timer.stop();
    m_lockTimer.stop();
    m_keeping = false;
    m_lock.Release();
}

void TWorkKeeper::Close()
{
    m_lockTimer.stop();
    if (!m_keeping)
        return;
    Flush();
    QFile::remove(MarkPath());
    StopKeeping();
}
