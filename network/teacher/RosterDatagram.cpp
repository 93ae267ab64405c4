#include "RosterDatagram.h"

#include "WireField.h"

namespace {
const QByteArray Magic = QByteArrayLiteral("LK7C");
} // namespace

QByteArray TRosterDatagram::Encode() const
{
    QByteArray out;
    WireField::AppendHead(out, Magic, Version, kind == TKind::Answer, searchId);
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
    const auto head = WireField::ReadHead(bytes, Magic, Version);
    if (!head || bytes.size() > MaxBytes || bytes.size() < WireField::HeadBytes + 1)
        return std::nullopt;
    TRosterDatagram d;
    d.kind = head->answer ? TKind::Answer : TKind::Question;
    d.searchId = head->searchId;
    WireField::TReader reader{bytes, WireField::HeadBytes};
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
