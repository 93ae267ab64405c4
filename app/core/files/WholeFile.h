#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace WholeFile {
// Writes `bytes` as the new contents of `path`: beside the old file, and
// renamed over it only once every byte is written, so any failure (a full
// disk, a refused folder) leaves the old file as it was; the folder is synced
// after the rename, so a power cut keeps the new file. NoError on success.
QFileDevice::FileError Write(const QString &path, const QByteArray &bytes);

// The reason of a file failure in the pupil's words; Qt's own texts are English.
QString ReasonText(QFileDevice::FileError error);
} // namespace WholeFile
