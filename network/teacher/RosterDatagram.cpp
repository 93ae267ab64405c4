#include "RosterDatagram.h"

#include "WireField.h"

namespace {
const QByteArray Magic = QByteArrayLiteral("LK7C");
constexpr int HeaderBytes = 4 + 1 + 1 + 4;
} // namespace

QByteArray TRosterDatagram::Encode() const
{
    QByteArray out = Magic;
    out.append(static_cast<char>(Version));
    out.append(static_cast<char>(kind));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((searchId >> shift) & 0xff));
    WireField::Append(out, classCode.left(MaxClassCodeLength).toUtf8());
    if (kind == TKind::Answer) {
        WireField::Append(out, WireField::Utf8Within(name, MaxNameBytes));
        out.append(static_cast<char>(receiveMode));
        out.append(static_cast<char>(page));
    }
    return out;
}

std::optional<TRosterDatagram> TRosterDatagram::Decode(const QByteArray &bytes)
{
    if (bytes.size() > MaxBytes || bytes.size() < HeaderBytes + 1 || !bytes.startsWith(Magic)
        || static_cast<quint8>(bytes.at(4)) != Version)
        return std::nullopt;
    TRosterDatagram d;
    const auto kind = static_cast<quint8>(bytes.at(5));
    if (kind != static_cast<quint8>(TKind::Question) && kind != static_cast<quint8>(TKind::Answer))
        return std::nullopt;
    d.kind = static_cast<TKind>(kind);
    for (int i = 6; i < HeaderBytes; ++i)
        d.searchId = (d.searchId << 8) | static_cast<quint8>(bytes.at(i));
    WireField::TReader reader{bytes, HeaderBytes};
    const auto code = reader.Field(4 * MaxClassCodeLength);
    if (!code || code->size() > MaxClassCodeLength)
        return std::nullopt;
    d.classCode = *code;
    if (d.kind == TKind::Answer) {
        const auto name = reader.Field(MaxNameBytes);
        const auto mode = reader.Byte();
        const auto page = reader.Byte();
        if (!name || !mode || !page || *mode < 1 || *mode > 3 || *page > MaxPage)
            return std::nullopt;
        d.name = *name;
        d.receiveMode = *mode;
        d.page = *page;
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return d;
}
