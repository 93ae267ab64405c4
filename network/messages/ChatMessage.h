#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// The messages of the message port and the lines of the message log.
namespace ChatMessage {
// The time of day as the message carries it.
QString TimeText(const QTime &time);

// Own address, "[", time, "]:", text.
QString Build(const QString &ownAddress, const QString &timeText, const QString &text);

// The sender's own log line: the message with the own address replaced by the own name.
QString SentLogLine(const QString &message, const QString &ownAddress, const QString &ownName);

// The receiver's log line, or nullopt when the text is not a message of this
// system (no sender address before "[", no "]:" after it).
std::optional<QString> ReceivedLogLine(const QString &text, const QStringList &settings);

QString IncomingConnectedLine(const QString &remoteName, const QString &ownName);
QString IncomingClosedLine(const QString &remoteName, const QString &ownName);
QString IncomingErrorLine();
QString OutgoingConnectedLine(const QString &ownName, const QString &destinationName);
QString OutgoingClosedLine(const QString &ownName, const QString &destinationName);
QString OutgoingFailedLine(const QString &destinationAddress);
} // namespace ChatMessage
