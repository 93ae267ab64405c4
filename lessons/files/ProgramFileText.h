#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The text form of light program files: lines in code page 932, each one
// ended by CR LF when written; any of CR LF, CR or LF ends a line when read.
namespace ProgramFileText {

inline const QString Extension = QStringLiteral(".lk7");

// The lines as written: CR LF after every line, the last one included.
// Callers check Unsavable first; a character without a code page 932 form
// would otherwise become '?'.
QByteArray Encode(const QStringList &lines);

// The first character of `lines` that a file cannot hold as it is: one
// without a code page 932 form, or a line break inside a line (it would
// split the line and shift every later one). Empty when all can be written.
QString Unsavable(const QStringList &lines);

// The lines of a file's bytes, in code page 932 or, from a teacher's editor,
// in UTF-8 (Cp932::DecodeFile). A final line without an ending counts; a line
// end at the very end does not start another line.
QStringList Decode(const QByteArray &bytes);

// Splits a text into lines the same way, so that a text written line by
// line and read back gives the same lines.
QStringList SplitLines(const QString &text);

// The extension of the file name part of `path` from its last dot, as the
// pupil typed it ("" when the name has no dot).
QString ExtensionOf(const QString &path);

// A decimal number with an optional sign; spaces around it are allowed.
std::optional<int> NumberOf(const QString &line);

// What reading a record from a file's lines gave: the whole record, or why
// the file cannot be taken. A record is checked whole before anything of it
// is used, so a refused file changes nothing on the screen.
template <typename Record>
struct TRecordRead {
    std::optional<Record> record;
    QString problem;  // for the pupil; empty when `record` holds the record
};

// The messages of a record that ends early or holds a line that is not what
// its place requires; `line` counts from 1.
QString MissingLineMessage(int line);
QString BadNumberMessage(int line, const QString &text);
QString BadValueMessage(int line, const QString &text);

} // namespace ProgramFileText
