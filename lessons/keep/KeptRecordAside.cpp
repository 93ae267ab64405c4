#include "KeptRecordAside.h"

#include "ProgramFileText.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>

namespace KeptRecordAside {

namespace {

// More copies of one lesson within the same second are not made by a pupil.
constexpr int MaxSameNames = 100;

QByteArray Bytes(const QString &path, bool *ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.readAll() : QByteArray();
}

} // namespace

QString BaseName(const QString &lessonName, const QDateTime &written)
{
    return lessonName + QStringLiteral("_自動保存_") + written.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
}

QString Copy(const QString &recordPath, const QString &folder, const QString &lessonName,
             QFileDevice::FileError &error)
{
    bool read = false;
    const QByteArray bytes = Bytes(recordPath, &read);
    if (!read) {
        error = QFileDevice::ReadError;
        return {};
    }
    return Keep(bytes, folder, lessonName, QFileInfo(recordPath).lastModified(), error);
}

QString Keep(const QByteArray &bytes, const QString &folder, const QString &lessonName, const QDateTime &written,
             QFileDevice::FileError &error)
{
    const QString base = BaseName(lessonName, written);
    for (int n = 1; n <= MaxSameNames; ++n) {
        const QString name = (n == 1 ? base : base + QLatin1Char('_') + QString::number(n)) + ProgramFileText::Extension;
        const QString path = folder + name;
        if (QFileInfo::exists(path)) {
            if (Bytes(path) == bytes)
                return name;
            continue;
        }
        error = WholeFile::Write(path, bytes);
        return error == QFileDevice::NoError ? name : QString();
    }
    error = QFileDevice::OpenError;
    return {};
}

} // namespace KeptRecordAside
