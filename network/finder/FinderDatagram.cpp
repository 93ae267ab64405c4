#include "FinderDatagram.h"

#include "WireField.h"

#include <QHostAddress>

namespace {
const QByteArray Magic = QByteArrayLiteral("LK72");
constexpr int HeaderBytes = 4 + 1 + 1 + 4;
constexpr int MaxAddressBytes = 15;  // "255.255.255.255"

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
    WireField::Append(out, classCode.left(MaxClassCodeLength).toUtf8());
    WireField::Append(out, WireField::Utf8Within(name, MaxNameBytes));
    WireField::Append(out, WireField::Utf8Within(address, MaxAddressBytes));
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
    WireField::TReader reader{bytes, HeaderBytes};
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
