#include "FinderDatagram.h"

#include "WireField.h"

#include <QHostAddress>

namespace {
const QByteArray Magic = QByteArrayLiteral("LK72");
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
    QByteArray out;
    WireField::AppendHead(out, Magic, Version, kind == TKind::Answer, searchId);
    WireField::Append(out, classCode.left(MaxClassCodeLength).toUtf8());
    WireField::Append(out, WireField::Utf8Within(name, MaxNameBytes));
    WireField::Append(out, WireField::Utf8Within(address, MaxAddressBytes));
    return out;
}

std::optional<TFinderDatagram> TFinderDatagram::Decode(const QByteArray &bytes)
{
    const auto head = WireField::ReadHead(bytes, Magic, Version);
    if (!head || bytes.size() > MaxBytes || bytes.size() < WireField::HeadBytes + 3)
        return std::nullopt;
    TFinderDatagram d;
    d.kind = head->answer ? TKind::Answer : TKind::Question;
    d.searchId = head->searchId;
    WireField::TReader reader{bytes, WireField::HeadBytes};
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
