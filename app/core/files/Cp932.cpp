#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

namespace {
constexpr const char *kCodecName = "windows-31j";

// (what an input method gives, what code page 932 holds)
constexpr std::array<std::pair<char16_t, char16_t>, 7> kTwins{{
    {u'\u301C', u'\uFF5E'}, // 〜 → ～
    {u'\u2212', u'\uFF0D'}, // − → －
    {u'\u2016', u'\u2225'}, // ‖ → ∥
    {u'\u2014', u'\u2015'}, // — → ―
    {u'\u00A2', u'\uFFE0'}, // ¢ → ￠
    {u'\u00A3', u'\uFFE1'}, // £ → ￡
    {u'\u00AC', u'\uFFE2'}, // ¬ → ￢
}};

bool Encodes(const QString &text)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    (void)QByteArray(encoder.encode(text));
    return !encoder.hasError();
}
} // namespace

namespace Cp932 {

QString WithTwins(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        for (const auto &[given, held] : kTwins) {
            if (c.unicode() == given) {
                c = QChar(held);
                break;
            }
        }
    }
    return out;
}

bool CanEncode(const QString &text)
{
    return FirstUnencodable(text).isEmpty();
}

QString FirstUnencodable(const QString &text)
{
    const QString twinned = WithTwins(text);
    if (Encodes(twinned))
        return {};
    // Find the culprit one code point at a time; twins have the same length,
    // so the piece of the pupil's own text is named.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        if (!Encodes(twinned.mid(i, len)))
            return text.mid(i, len);
        i += len;
    }
    return QStringLiteral("?");
}

QByteArray Encode(const QString &text)
{
    const QString twinned = WithTwins(text);
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(twinned);
    if (!encoder.hasError())
        return bytes;
    // The encoder leaves out what the code page lacks, which can turn one
    // word into another; a '?' keeps its place.
    bytes.clear();
    for (qsizetype i = 0; i < twinned.size();) {
        const qsizetype len = (twinned.at(i).isHighSurrogate() && i + 1 < twinned.size()) ? 2 : 1;
        QStringEncoder one(kCodecName, QStringConverter::Flag::Stateless);
        const QByteArray piece = one.encode(twinned.mid(i, len));
        bytes += one.hasError() ? QByteArray("?") : piece;
        i += len;
    }
    return bytes;
}

QString Decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QString DecodeFile(const QByteArray &bytes)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray body = bytes.startsWith(mark) ? bytes.mid(mark.size()) : bytes;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return Decode(body);
}

} // namespace Cp932
