#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace WholeFile {

namespace {

// The new name of a renamed file lives in its folder: until the folder is on
// disk too, a power cut can bring back the old file or none. A folder that
// cannot be synced (some file systems refuse) still holds the new file.
void SyncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

QFileDevice::FileError Write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // Qt reports a read-only file or folder as a plain write or open
        // error; the user is helped more by hearing that it is permission.
        const QFileInfo target(path);
        const QFileInfo folder(target.absolutePath());
        if ((target.exists() && !target.isWritable()) || (folder.isDir() && !folder.isWritable()))
            return QFileDevice::PermissionsError;
        return file.error() == QFileDevice::NoError ? QFileDevice::OpenError : file.error();
    }
    // The buffered bytes must be flushed and checked here: commit() does not
    // look at a failure of its own final flush and would rename a cut-off
    // file over the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QFileDevice::FileError error = file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.error() == QFileDevice::NoError ? QFileDevice::RenameError : file.error();
    SyncFolder(QFileInfo(path).absolutePath());
    return QFileDevice::NoError;
}

QString ReasonText(QFileDevice::FileError error)
{
    struct TReason {
        QFileDevice::FileError error;
        const char *text;
    };
    static constexpr TReason reasons[] = {
        {QFileDevice::PermissionsError, "このファイルまたはフォルダを使う権限がありません。"},
        {QFileDevice::ResourceError, "ディスクの空きが足りないか、ディスクが使えません。"},
        {QFileDevice::OpenError, "ファイルを開くことが出来ませんでした。"},
        {QFileDevice::ReadError, "ファイルを読み込む途中で失敗しました。"},
        {QFileDevice::WriteError, "ファイルに書き込む途中で失敗しました。"},
        {QFileDevice::RenameError, "ファイルを置き換えることが出来ませんでした。"},
    };
    for (const TReason &reason : reasons) {
        if (reason.error == error)
            return QString::fromUtf8(reason.text);
    }
    return QStringLiteral("ファイルを使うことが出来ませんでした。");
}

} // namespace WholeFile
