#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The one datagram stations exchange to find each other: a question ("who of
// my class is there?") or its answer. It carries a class code, a name and an
// address and nothing else, so the finding can never be used to send a
// command or a message. Anything that is not exactly this form is malformed.
//
// Layout: "LK72" | version (1) | kind | search id (4 bytes, big-endian) |
// class code, name, address, each as one length byte and UTF-8 text.
struct TFinderDatagram {
    enum class TKind : quint8 { Question = 1, Answer = 2 };

    static constexpr quint8 Version = 1;
    // Well below one Ethernet frame; a datagram longer than this is refused unread.
    static constexpr int MaxBytes = 300;
    static constexpr int MaxClassCodeLength = 8;
    // What a name may take of the datagram; a longer name is cut short when sent.
    static constexpr int MaxNameBytes = 200;

    TKind kind = TKind::Question;
    quint32 searchId = 0;
    QString classCode;
    QString name;
    QString address;  // dotted IPv4; empty only in a question

    QByteArray Encode() const;
    // Empty for every byte sequence that Encode cannot have written.
    static std::optional<TFinderDatagram> Decode(const QByteArray &bytes);
};
