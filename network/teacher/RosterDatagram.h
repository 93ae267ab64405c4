#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The class list's one datagram: the teacher's question ("who of my class is
// there?") or a station's answer: its name, whether it takes the teacher's
// programs and collections (its receive mode) and the lesson it shows. It
// carries no command. Anything that is not exactly this form is malformed.
//
// Layout: "LK7C" | version (1) | kind | search id (4 bytes, big-endian) |
// class code as one length byte and UTF-8; an answer goes on with the name
// the same way, then one byte receive mode (1 to 3) and one byte page (0 to 11).
struct TRosterDatagram {
    enum class TKind : quint8 { Question = 1, Answer = 2 };

    static constexpr quint8 Version = 1;
    static constexpr int MaxBytes = 300;
    static constexpr int MaxClassCodeLength = 8;
    static constexpr int MaxNameBytes = 200;
    static constexpr int MaxPage = 11;

    TKind kind = TKind::Question;
    quint32 searchId = 0;
    QString classCode;
    QString name;         // answer only
    int receiveMode = 1;  // answer only: 1 all, 2 registered, 3 none
    int page = 0;         // answer only: the page the station shows

    QByteArray Encode() const;
    // Empty for every byte sequence that Encode cannot have written.
    static std::optional<TRosterDatagram> Decode(const QByteArray &bytes);
};
