#include "ClassMessage.h"

#include "WireField.h"

namespace {
const QByteArray Magic = QByteArrayLiteral("LK7C");

void AppendLength(QByteArray &out, quint32 length)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((length >> shift) & 0xff));
}

std::optional<quint32> LengthAt(const QByteArray &bytes, qsizetype at)
{
    if (at + 4 > bytes.size())
        return std::nullopt;
    quint32 length = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        length = (length << 8) | static_cast<quint8>(bytes.at(i));
    return length;
}

bool KnownKind(quint8 kind)
{
    return kind >= static_cast<quint8>(TClassMessage::TKind::Program) && kind <= static_cast<quint8>(TClassMessage::TKind::Work);
}

// The body length a header announces; nullopt when it is no header of ours.
std::optional<quint32> BodyLength(const QByteArray &header)
{
    if (!header.startsWith(Magic) || static_cast<quint8>(header.at(4)) != TClassMessage::Version
        || !KnownKind(static_cast<quint8>(header.at(5))))
        return std::nullopt;
    const auto length = LengthAt(header, 6);
    if (!length || *length > static_cast<quint32>(TClassMessage::MaxBodyBytes))
        return std::nullopt;
    return length;
}

bool ReadRecords(const QByteArray &body, WireField::TReader &reader, QList<QByteArray> &records)
{
    const auto count = reader.Byte();
    if (!count || *count > TClassMessage::MaxRecords)
        return false;
    for (int i = 0; i < *count; ++i) {
        const auto length = LengthAt(body, reader.at);
        if (!length || *length > static_cast<quint32>(TClassMessage::MaxRecordBytes)
            || reader.at + 4 + static_cast<qsizetype>(*length) > body.size())
            return false;
        records.append(body.mid(reader.at + 4, *length));
        reader.at += 4 + *length;
    }
    return true;
}
} // namespace

QByteArray TClassMessage::Encode() const
{
    QByteArray body;
    switch (kind) {
    case TKind::Program:
        WireField::Append(body, classCode.left(MaxClassCodeLength).toUtf8());
        body.append(records.value(0).left(MaxRecordBytes));
        break;
    case TKind::Collect:
        WireField::Append(body, classCode.left(MaxClassCodeLength).toUtf8());
        break;
    case TKind::Taken:
        break;
    case TKind::Work: {
        WireField::Append(body, WireField::Utf8Within(name, MaxNameBytes));
        const QList<QByteArray> sent = records.mid(0, MaxRecords);
        body.append(static_cast<char>(sent.size()));
        for (const QByteArray &record : sent) {
            const QByteArray cut = record.left(MaxRecordBytes);
            AppendLength(body, static_cast<quint32>(cut.size()));
            body.append(cut);
        }
        break;
    }
    }
    QByteArray out = Magic;
    out.append(static_cast<char>(Version));
    out.append(static_cast<char>(kind));
    AppendLength(out, static_cast<quint32>(body.size()));
    return out + body;
}

std::optional<TClassMessage> TClassMessage::Decode(const QByteArray &frame)
{
    if (frame.size() < HeaderBytes)
        return std::nullopt;
    const auto length = BodyLength(frame.left(HeaderBytes));
    if (!length || frame.size() != HeaderBytes + static_cast<qsizetype>(*length))
        return std::nullopt;
    const QByteArray body = frame.mid(HeaderBytes);
    TClassMessage m;
    m.kind = static_cast<TKind>(static_cast<quint8>(frame.at(5)));
    WireField::TReader reader{body, 0};
    switch (m.kind) {
    case TKind::Program:
    case TKind::Collect: {
        const auto code = reader.Field(4 * MaxClassCodeLength);
        if (!code || code->size() > MaxClassCodeLength)
            return std::nullopt;
        m.classCode = *code;
        if (m.kind == TKind::Program) {
            const QByteArray record = body.mid(reader.at);
            if (record.isEmpty() || record.size() > MaxRecordBytes)
                return std::nullopt;
            m.records.append(record);
            reader.at = body.size();
        }
        break;
    }
    case TKind::Taken:
        break;
    case TKind::Work: {
        const auto name = reader.Field(MaxNameBytes);
        if (!name || !ReadRecords(body, reader, m.records))
            return std::nullopt;
        m.name = *name;
        break;
    }
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return m;
}

TClassFrameReader::TState TClassFrameReader::Feed(const QByteArray &bytes)
{
    if (m_state != TState::NeedMore)
        return m_state = bytes.isEmpty() ? m_state : TState::Bad;
    m_bytes.append(bytes);
    if (m_frameBytes == 0 && m_bytes.size() >= TClassMessage::HeaderBytes) {
        const auto length = BodyLength(m_bytes.left(TClassMessage::HeaderBytes));
        if (!length)
            return m_state = TState::Bad;
        m_frameBytes = TClassMessage::HeaderBytes + static_cast<qsizetype>(*length);
    }
    // A partial header that already strays from the magic is refused early.
    if (m_frameBytes == 0 && !Magic.startsWith(m_bytes.left(Magic.size())))
        return m_state = TState::Bad;
    if (m_frameBytes == 0 || m_bytes.size() < m_frameBytes)
        return m_state;
    if (m_bytes.size() > m_frameBytes)
        return m_state = TState::Bad;
    m_message = TClassMessage::Decode(m_bytes);
    m_bytes.clear();
    return m_state = m_message ? TState::Done : TState::Bad;
}
