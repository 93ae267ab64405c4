#include "AssetPath.h"
#include "LoadError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

QString ProgramFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString ResolveAssetUnder(const QString &base, const QString &relativePath)
{
    QString normalized = relativePath;
    normalized.replace(u'\\', u'/');
    const QStringList parts = normalized.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};

    QString current = base;
    for (const QString &part : parts) {
        if (part == u"." || part == u"..")
            return {}; // data names never leave the program folder
        QDir dir(current);
        const QString exact = dir.filePath(part);
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        QString found;
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString &entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = dir.filePath(entry);
                break;
            }
        }
        if (found.isEmpty())
            return {};
        current = found;
    }
    return QFileInfo(current).absoluteFilePath();
}

QString ResolveAsset(const QString &relativePath)
{
    return ResolveAssetUnder(QCoreApplication::applicationDirPath(), relativePath);
}

QImage LoadAssetImage(const QString &relativePath)
{
    const QString path = ResolveAsset(relativePath);
    if (path.isEmpty())
        throw TLoadError(QStringLiteral("ファイルが見つかりません: %1").arg(relativePath));
    QImage image(path);
    if (image.isNull())
        throw TLoadError(QStringLiteral("画像を読み込めません: %1").arg(relativePath));
    return image;
}

void CheckAssetImage(const QString &relativePath)
{
    const QString path = ResolveAsset(relativePath);
    if (path.isEmpty())
        throw TLoadError(QStringLiteral("ファイルが見つかりません: %1").arg(relativePath));
    if (!QImageReader(path).canRead())
        throw TLoadError(QStringLiteral("画像を読み込めません: %1").arg(relativePath));
}

QPixmap LoadAssetPixmap(const QString &relativePath)
{
    return QPixmap::fromImage(LoadAssetImage(relativePath));
}
