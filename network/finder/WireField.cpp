#include "WireField.h"

#include <QRandomGenerator>
#include <QStringDecoder>

namespace WireField {

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

void Append(QByteArray &out, const QByteArray &field)
{
    out.append(static_cast<char>(field.size()));
    out.append(field);
}

std::optional<QString> TReader::Field(int maxBytes)
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

std::optional<quint8> TReader::Byte()
{
    if (at >= bytes.size())
        return std::nullopt;
    return static_cast<quint8>(bytes.at(at++));
}

void AppendHead(QByteArray &out, const QByteArray &magic, quint8 version, bool answer, quint32 searchId)
{
    out.append(magic);
    out.append(static_cast<char>(version));
    out.append(static_cast<char>(answer ? 2 : 1));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((searchId >> shift) & 0xff));
}

std::optional<THead> ReadHead(const QByteArray &bytes, const QByteArray &magic, quint8 version)
{
    if (bytes.size() < HeadBytes || !bytes.startsWith(magic) || static_cast<quint8>(bytes.at(4)) != version)
        return std::nullopt;
    const auto kind = static_cast<quint8>(bytes.at(5));
    if (kind != 1 && kind != 2)
        return std::nullopt;
    THead head;
    head.answer = kind == 2;
    for (int i = 6; i < HeadBytes; ++i)
        head.searchId = (head.searchId << 8) | static_cast<quint8>(bytes.at(i));
    return head;
}

quint32 NewSearchId()
{
    quint32 id = 0;
    while (id == 0)
        id = QRandomGenerator::global()->generate();
    return id;
}

} // namespace WireField
