#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text fields of the stations' binary datagrams and frames: one length byte,
// then that many bytes of UTF-8. What is written always reads back unchanged,
// and what reads is plain text: no control or format character, no broken
// UTF-8, no byte-order mark taken away.
namespace WireField {

// `text` as UTF-8 of at most `maxBytes`, cut at a character boundary, never
// inside a UTF-8 sequence or a surrogate pair.
QByteArray Utf8Within(const QString &text, int maxBytes);

// Appends the length byte and the bytes (at most 255 of them).
void Append(QByteArray &out, const QByteArray &field);

// The head every station datagram starts with: 4 bytes naming the format, its
// version, whether it asks (1) or answers (2), and a 4-byte search id.
constexpr int HeadBytes = 4 + 1 + 1 + 4;
struct THead {
    bool answer = false;
    quint32 searchId = 0;
};
void AppendHead(QByteArray &out, const QByteArray &magic, quint8 version, bool answer, quint32 searchId);
// The head of `bytes`, or nullopt when it is not one of `magic` and `version`.
std::optional<THead> ReadHead(const QByteArray &bytes, const QByteArray &magic, quint8 version);
// A fresh search id for a question; never 0, which means "not searching".
quint32 NewSearchId();

// Reads fields one after another from `at` on.
struct TReader {
    const QByteArray &bytes;
    qsizetype at = 0;

    // The next field; nullopt when it runs past the end, is longer than
    // `maxBytes` or is not plain text.
    std::optional<QString> Field(int maxBytes);
    // The next byte; nullopt at the end.
    std::optional<quint8> Byte();
    bool AtEnd() const { return at == bytes.size(); }
};

} // namespace WireField
