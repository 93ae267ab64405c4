#include "WorkCollection.h"

#include "ClassRecord.h"
#include "ProgramFileText.h"
#include "SafeName.h"
#include "WholeFile.h"

#include <QDir>
#include <QFileInfo>

TWorkCollection::TWorkCollection(const QString &workFolder, const QString &classCode, const QDate &date)
    : m_root(QDir(workFolder).filePath(QStringLiteral("作品")))
    , m_folderName(FolderName(classCode, date))
{
}

QString TWorkCollection::FolderName(const QString &classCode, const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + SafeName::ForFile(classCode, QStringLiteral("クラス"));
}

QString TWorkCollection::Folder()
{
    if (!m_folder.isEmpty())
        return m_folder;
    QDir root(m_root);
    if (!root.mkpath(QStringLiteral(".")))
        return {};
    for (int n = 1; n <= MaxSameNames; ++n) {
        const QString name = n == 1 ? m_folderName : m_folderName + QLatin1Char('_') + QString::number(n);
        // mkdir fails on a folder that is there already: an earlier collection keeps it.
        if (root.mkdir(name)) {
            m_folder = root.filePath(name) + QLatin1Char('/');
            return m_folder;
        }
        if (!QFileInfo(root.filePath(name)).exists())
            return {};
    }
    return {};
}

QString TWorkCollection::FileNameFor(const QString &lesson, const QString &pupil, const QString &address)
{
    const QString base = lesson + QLatin1Char('_') + SafeName::ForFile(pupil, SafeName::ForFile(address, QStringLiteral("名前なし")));
    for (int n = 1; n <= MaxSameNames; ++n) {
        const QString name = (n == 1 ? base : base + QLatin1Char('_') + QString::number(n)) + ProgramFileText::Extension;
        const auto owner = m_ownerOf.constFind(name);
        if (owner == m_ownerOf.constEnd()) {
            m_ownerOf.insert(name, address);
            return name;
        }
        // The same station asked twice in one collection writes its file again.
        if (*owner == address)
            return name;
    }
    return {};
}

TWorkCollection::TTaken TWorkCollection::Take(const QString &pupilName, const QString &address, const QList<QByteArray> &records)
{
    TTaken taken;
    const QString folder = Folder();
    for (const QByteArray &bytes : records) {
        const auto record = ClassRecord::Check(bytes);
        const QString name = record ? FileNameFor(record->lessonName, pupilName, address) : QString();
        if (folder.isEmpty() || name.isEmpty() || WholeFile::Write(folder + name, bytes) != QFileDevice::NoError) {
            ++taken.refused;
            continue;
        }
        taken.files.append(name);
    }
    return taken;
}
