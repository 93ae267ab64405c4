#pragma once

#include <QByteArray>
#include <QString>

// Code page 932 as Windows writes it ("～" is 81 60, "①" is 87 40). Files of
// this program (settings, programs, reports) are stored in it.
//
// Input methods on Linux give some characters under another code point than
// Windows does ("〜" U+301C where Windows has "～" U+FF5E). Code page 932 has
// them under the Windows code point only, so they are written as that twin:
// every function below that encodes treats the two as the same character.
namespace Cp932 {

// `text` with every character that has a twin replaced by it.
QString WithTwins(const QString &text);

// True when every character of `text` has a code page 932 form.
bool CanEncode(const QString &text);

// The first character that has none, or an empty string.
QString FirstUnencodable(const QString &text);

// Encodes; characters without a form become '?' (callers check CanEncode
// first where that would lose what the pupil wrote).
QByteArray Encode(const QString &text);

QString Decode(const QByteArray &bytes);

// The text of a file, which a teacher may have written with a modern editor:
// a leading UTF-8 byte-order mark is skipped, bytes that are valid UTF-8 are
// read as UTF-8, and anything else as code page 932.
QString DecodeFile(const QByteArray &bytes);

} // namespace Cp932
