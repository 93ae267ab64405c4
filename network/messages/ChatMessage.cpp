#include "ChatMessage.h"

#include "NetworkSettings.h"

#include <QHostAddress>

namespace ChatMessage {

QString TimeText(const QTime &time)
{
    // The long time form of a Japanese desktop, the same on every machine
    // (a locale's long format on Linux would add a time zone name).
    return time.toString(QStringLiteral("H:mm:ss"));
}

QString Build(const QString &ownAddress, const QString &timeText, const QString &text)
{
    return ownAddress + QLatin1Char('[') + timeText + QStringLiteral("]:") + text;
}

QString SentLogLine(const QString &message, const QString &ownAddress, const QString &ownName)
{
    QString line = message;
    if (!ownAddress.isEmpty())
        line.replace(ownAddress, ownName);
    return line;
}

std::optional<QString> ReceivedLogLine(const QString &text, const QStringList &settings)
{
    const qsizetype open = text.indexOf(QLatin1Char('['));
    if (open <= 0)
        return std::nullopt;
    const QString sender = text.left(open);
    QHostAddress parsed;
    if (!parsed.setAddress(sender) || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    if (text.indexOf(QStringLiteral("]:"), open + 1) < 0)
        return std::nullopt;
    QString line = text;
    // QString::replace scans left to right and goes on after each
    // replacement, so a name containing the address is not replaced again.
    line.replace(sender, StationNameFor(settings, sender));
    return line;
}

QString IncomingConnectedLine(const QString &remoteName, const QString &ownName)
{
    return QStringLiteral("[ ") + remoteName + QStringLiteral(" ---> ") + ownName + QStringLiteral(" ]接続");
}

QString IncomingClosedLine(const QString &remoteName, const QString &ownName)
{
    return QStringLiteral("[ ") + remoteName + QStringLiteral(" ---> ") + ownName + QStringLiteral(" ]切断");
}

QString IncomingErrorLine()
{
    return QStringLiteral("エラー");
}

QString OutgoingConnectedLine(const QString &ownName, const QString &destinationName)
{
    return QStringLiteral("[ ") + ownName + QStringLiteral(" ---> ") + destinationName + QStringLiteral(" ]接続");
}

QString OutgoingClosedLine(const QString &ownName, const QString &destinationName)
{
    return QStringLiteral("[ ") + ownName + QStringLiteral(" ---> ") + destinationName + QStringLiteral(" ]切断");
}

QString OutgoingFailedLine(const QString &destinationAddress)
{
    return QStringLiteral("接続先:") + destinationAddress + QStringLiteral("に接続できませんでした。");
}

} // namespace ChatMessage
