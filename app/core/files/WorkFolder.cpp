#include "WorkFolder.h"

#include <QDir>
#include <QStandardPaths>

QString DocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString WorkFolderUnder(const QString &documents)
{
    QString path = documents;
    path.replace(u'\\', u'/');
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + QStringLiteral("LK-72Temp/");
}

QString WorkFolder()
{
    const QString path = WorkFolderUnder(DocumentsFolder());
    QDir().mkpath(path);
    return path;
}
