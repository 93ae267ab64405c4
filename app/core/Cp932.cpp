#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char *kCodecName = "windows-31j";
}

namespace Cp932 {

bool CanEncode(const QString &text)
{
    return FirstUnencodable(text).isEmpty();
}

QString FirstUnencodable(const QString &text)
{
    QStringEncoder whole(kCodecName, QStringConverter::Flag::Stateless);
    (void)QByteArray(whole.encode(text));
    if (!whole.hasError())
        return {};
    // Find the culprit one code point at a time.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString piece = text.mid(i, len);
        QStringEncoder one(kCodecName, QStringConverter::Flag::Stateless);
        (void)QByteArray(one.encode(piece));
        if (one.hasError())
            return piece;
        i += len;
    }
    return QStringLiteral("?");
}

QByteArray Encode(const QString &text)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString Decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace Cp932
