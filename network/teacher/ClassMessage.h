#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What the teacher's station and a station of its class send each other on
// one connection: the teacher's request (a program for everyone, or the
// collection of the work), then the station's answer (the program taken, or
// its work). One message each way, then the connection closes.
//
// Frame: "LK7C" | version (1) | kind | body length (4 bytes, big-endian) | body.
//   program:  class code field | the program record's bytes
//   collect:  class code field
//   taken:    (empty)
//   work:     name field | record count (0 to 3) | per record: length (4 bytes) and bytes
// A field is one length byte and UTF-8 text. A record is a program file's
// bytes exactly as its lesson's save button writes them.
struct TClassMessage {
    enum class TKind : quint8 { Program = 1, Collect = 2, Taken = 3, Work = 4 };

    static constexpr quint8 Version = 1;
    static constexpr int HeaderBytes = 4 + 1 + 1 + 4;
    static constexpr int MaxClassCodeLength = 8;
    static constexpr int MaxNameBytes = 200;
    // A lesson's program file is a few kilobytes at most; more is no program of this system.
    static constexpr int MaxRecordBytes = 64 * 1024;
    static constexpr int MaxRecords = 3;
    static constexpr int MaxBodyBytes = 1 + MaxNameBytes + 1 + MaxRecords * (4 + MaxRecordBytes);

    TKind kind = TKind::Collect;
    QString classCode;          // program, collect
    QString name;               // work
    QList<QByteArray> records;  // program: one; work: up to three

    QByteArray Encode() const;
    // The message of a whole frame; empty for every byte sequence that
    // Encode cannot have written.
    static std::optional<TClassMessage> Decode(const QByteArray &frame);
};

// Gathers one frame from the reads of a connection. Holds at most one
// frame's bytes: a header that announces more than a body may hold, or any
// byte after the frame, makes the connection bad at once.
class TClassFrameReader {
public:
    enum class TState { NeedMore, Done, Bad };

    TState Feed(const QByteArray &bytes);
    TState State() const { return m_state; }
    // The frame's message once Done.
    const std::optional<TClassMessage> &Message() const { return m_message; }

private:
    QByteArray m_bytes;
    qsizetype m_frameBytes = 0;  // known once the header is in
    TState m_state = TState::NeedMore;
    std::optional<TClassMessage> m_message;
};
