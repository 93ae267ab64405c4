#include "StationCommand.h"

#include "MainHost.h"
#include "TransferRequest.h"

namespace StationCommand {

namespace {
std::optional<int> ByteValue(const QString &field)
{
    if (field.isEmpty() || field.size() > 3)
        return std::nullopt;
    for (const QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = field.toInt();
    if (value > 255)
        return std::nullopt;
    return value;
}
} // namespace

QString EncodeExecute()
{
    return QStringLiteral("06");
}

QString EncodeDirect(int code)
{
    return QString::number(code);
}

QString EncodeProgram(int code)
{
    QString text = QString::number(code);
    for (int i = 1; i < ProgramLength; ++i)
        text += QLatin1Char(',') + QString::number(Filler);
    return text;
}

std::optional<TStationCommand> Parse(const QString &text)
{
    TStationCommand command;
    if (text == EncodeExecute()) {
        command.kind = TStationCommand::Kind::Execute;
        return command;
    }
    if (text.contains(QLatin1Char(','))) {
        const QStringList fields = text.split(QLatin1Char(','));
        if (fields.size() < ProgramLength)
            return std::nullopt;
        command.kind = TStationCommand::Kind::Program;
        for (int i = 0; i < ProgramLength; ++i) {
            const auto value = ByteValue(fields.at(i));
            if (!value)
                return std::nullopt;
            command.program.append(QString::number(*value));
        }
        return command;
    }
    const auto value = ByteValue(text);
    if (!value)
        return std::nullopt;
    command.kind = TStationCommand::Kind::Direct;
    command.code = *value;
    return command;
}

void Run(TMainHost &host, const TStationCommand &command)
{
    switch (command.kind) {
    case TStationCommand::Kind::Execute:
        host.SendExecute(ExecuteByte);
        break;
    case TStationCommand::Kind::Direct:
        host.Transfer(TTransferRequest::DirectLight(command.code));
        break;
    case TStationCommand::Kind::Program:
        host.Transfer(TTransferRequest::LightProgram(command.program));
        break;
    }
}

void Apply(TMainHost &host, const TStationCommand &command)
{
    // The state is set only when the wire is free, so a transfer that is
    // running keeps the list and mode it started with.
    host.RunWhenIdle([&host, command] { Run(host, command); });
}

} // namespace StationCommand
