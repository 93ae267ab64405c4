#include "ProgramArrival.h"

#include "KeptRecordAside.h"
#include "ProgramFileText.h"

#include <QDir>

TProgramArrival::TProgramArrival(QString asideFolder)
    : m_folder(std::move(asideFolder))
{
    if (!m_folder.isEmpty() && !m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

void TProgramArrival::RememberEmpty(const QString &lessonName, const QStringList &lines)
{
    m_empty.insert(lessonName, lines);
}

TProgramArrival::TKept TProgramArrival::KeepBefore(const QString &lessonName, const QStringList &current,
                                                   const QStringList &arriving, const QDateTime &now)
{
    TKept kept;
    const bool pupilsWork = current != m_empty.value(lessonName) && current != m_lastArrived.value(lessonName) && current != arriving;
    if (pupilsWork) {
        QDir().mkpath(m_folder);
        kept.fileName = KeptRecordAside::Keep(ProgramFileText::Encode(current), m_folder, lessonName, now, kept.error);
        if (kept.fileName.isEmpty())
            return kept;
    }
    kept.mayReplace = true;
    m_lastArrived.insert(lessonName, arriving);
    return kept;
}
