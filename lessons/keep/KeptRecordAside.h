#pragma once

#include <QDateTime>
#include <QFileDevice>
#include <QString>

// A kept record the pupil did not take back is set aside as an ordinary
// program file beside the autosave folder, named by its lesson and the time
// it was last written, so the read button finds it and no later change to
// the lesson overwrites it.
namespace KeptRecordAside {

// "STEP3_自動保存_2024-05-01_10-23-45", without the extension.
QString BaseName(const QString &lessonName, const QDateTime &written);

// Copies the record at `recordPath` into `folder` (which ends in a slash)
// and returns the copy's file name; empty, with `error` set, when it could
// not be made. A copy already there with the same bytes is not made twice.
QString Copy(const QString &recordPath, const QString &folder, const QString &lessonName,
             QFileDevice::FileError &error);

// Writes `bytes` (a record as its lesson's save button writes it) into
// `folder` under BaseName(lessonName, written), numbered when that name is
// taken by other bytes; the file name, or empty with `error` set.
QString Keep(const QByteArray &bytes, const QString &folder, const QString &lessonName, const QDateTime &written,
             QFileDevice::FileError &error);

} // namespace KeptRecordAside
