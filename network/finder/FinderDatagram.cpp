#include "FinderDatagram.h"

#include <QHostAddress>
#include <QStringDecoder>

namespace {
const QByteArray Magic = QByteArrayLiteral("LK72");
constexpr int HeaderBytes = 4 + 1 + 1 + 4;
constexpr int MaxAddressBytes = 15;  // "255.255.255.255"

// Cuts at a character boundary, never inside a UTF-8 sequence or a surrogate pair.
QByteArray Utf8Within(const QString &text, int maxBytes)
{
    QString cut = text;
    QByteArray bytes = cut.toUtf8();
    while (bytes.size() > maxBytes) {
        cut.chop(cut.size() >= 2 && cut.at(cut.size() - 1).isLowSurrogate() ? 2 : 1);
        bytes = cut.toUtf8();
    }
    return bytes;
}

void AppendField(QByteArray &out, const QByteArray &field)
{
    out.append(static_cast<char>(field.size()));
    out.append(field);
}

struct TReader {
    const QByteArray &bytes;
    qsizetype at = HeaderBytes;

    std::optional<QString> Field(int maxBytes)
    {
        if (at >= bytes.size())
            return std::nullopt;
        const int length = static_cast<quint8>(bytes.at(at++));
        if (length > maxBytes || at + length > bytes.size())
            return std::nullopt;
        // A byte-order mark stays a character (and is refused), so every accepted field reads back unchanged.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf8.decode(bytes.mid(at, length));
        at += length;
        if (utf8.hasError())
            return std::nullopt;
        for (const QChar c : text) {
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                return std::nullopt;
        }
        return text;
    }
};

bool DottedIPv4(const QString &text)
{
    QHostAddress parsed;
    return parsed.setAddress(text) && parsed.protocol() == QAbstractSocket::IPv4Protocol
        && text.count(QLatin1Char('.')) == 3 && parsed.toString() == text;
}
} // namespace

QByteArray TFinderDatagram::Encode() const
{
    QByteArray out = Magic;
    out.append(static_cast<char>(Version));
    out.append(static_cast<char>(kind));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((searchId >> shift) & 0xff));
    AppendField(out, classCode.left(MaxClassCodeLength).toUtf8());
    AppendField(out, Utf8Within(name, MaxNameBytes));
    AppendField(out, Utf8Within(address, MaxAddressBytes));
    return out;
}

std::optional<TFinderDatagram> TFinderDatagram::Decode(const QByteArray &bytes)
{
    if (bytes.size() > MaxBytes || bytes.size() < HeaderBytes + 3 || !bytes.startsWith(Magic)
        || static_cast<quint8>(bytes.at(4)) != Version)
        return std::nullopt;
    TFinderDatagram d;
    const auto kind = static_cast<quint8>(bytes.at(5));
    if (kind != static_cast<quint8>(TKind::Question) && kind != static_cast<quint8>(TKind::Answer))
        return std::nullopt;
    d.kind = static_cast<TKind>(kind);
    for (int i = 6; i < HeaderBytes; ++i)
        d.searchId = (d.searchId << 8) | static_cast<quint8>(bytes.at(i));
    TReader reader{bytes};
    const auto code = reader.Field(4 * MaxClassCodeLength);
    const auto name = reader.Field(MaxNameBytes);
    const auto address = reader.Field(MaxAddressBytes);
    if (!code || !name || !address || reader.at != bytes.size() || code->size() > MaxClassCodeLength)
        return std::nullopt;
    const bool addressNeeded = d.kind == TKind::Answer;
    if ((addressNeeded || !address->isEmpty()) && !DottedIPv4(*address))
        return std::nullopt;
    d.classCode = *code;
    d.name = *name;
    d.address = *address;
    return d;
}
