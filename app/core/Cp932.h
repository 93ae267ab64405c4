#pragma once

#include <QByteArray>
#include <QString>

// Code page 932 as Windows writes it ("～" is 81 60, "①" is 87 40). Files of
// this program (settings, programs, reports) are stored in it.
namespace Cp932 {

// True when every character of `text` has a code page 932 form.
bool CanEncode(const QString &text);

// The first character that has none, or an empty string.
QString FirstUnencodable(const QString &text);

// Encodes; characters without a form become '?' (callers check CanEncode
// first where that would lose what the pupil wrote).
QByteArray Encode(const QString &text);

QString Decode(const QByteArray &bytes);

} // namespace Cp932
