// What another station sends: any bytes on the program exchange port must
// give either nothing or a command the lamp can take, and any bytes on the
// message port either nothing or a log line under the sender's name. On the
// finder port, any bytes are refused or are exactly what Encode writes.
#include "ChatMessage.h"
#include "Cp932.h"
#include "FinderDatagram.h"
#include "NetworkSettings.h"
#include "StationCommand.h"

#include <cstdint>
#include <cstdlib>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckCommand(const QString &text)
{
    const auto command = StationCommand::Parse(text);
    if (!command)
        return;
    switch (command->kind) {
    case TStationCommand::Kind::Execute:
        Require(text == StationCommand::EncodeExecute());
        break;
    case TStationCommand::Kind::Direct: {
        Require(command->code >= 0 && command->code <= 255);
        const auto again = StationCommand::Parse(StationCommand::EncodeDirect(command->code));
        Require(again && again->kind == TStationCommand::Kind::Direct && again->code == command->code);
        break;
    }
    case TStationCommand::Kind::Program: {
        Require(command->program.size() == StationCommand::ProgramLength);
        for (const QString &field : command->program) {
            bool ok = false;
            const int value = field.toInt(&ok);
            Require(ok && value >= 0 && value <= 255 && field == QString::number(value));
        }
        // What is passed on reads back as the same program.
        const auto again = StationCommand::Parse(command->program.join(QLatin1Char(',')));
        Require(again && again->kind == TStationCommand::Kind::Program && again->program == command->program);
        break;
    }
    }
}

// The first lines of the input are the station record (so names and
// addresses are fuzzed too); the rest is the received message.
void CheckMessage(const QString &input)
{
    QStringList settings = input.split(QLatin1Char('\n'));
    const QString text = settings.size() > 1 ? settings.takeLast() : input;
    while (settings.size() > NetworkSettingsIndex::EntryCount)
        settings.removeLast();

    (void)ReceiveModeOf(settings);
    const auto line = ChatMessage::ReceivedLogLine(text, settings);
    if (line) {
        const QString sender = text.left(text.indexOf(QLatin1Char('[')));
        Require(line->startsWith(StationNameFor(settings, sender)));
        Require(line->contains(QStringLiteral("]:")));
    }
    const QString own = NetworkEntry(settings, NetworkSettingsIndex::OwnAddress);
    const QString name = NetworkEntry(settings, NetworkSettingsIndex::OwnName);
    const QString sent = ChatMessage::SentLogLine(text, own, name);
    Require(!own.isEmpty() || sent == text);
}

void CheckFinderDatagram(const QByteArray &bytes)
{
    const auto datagram = TFinderDatagram::Decode(bytes);
    if (!datagram)
        return;
    Require(bytes.size() <= TFinderDatagram::MaxBytes);
    Require(datagram->classCode.size() <= TFinderDatagram::MaxClassCodeLength);
    Require(datagram->Encode() == bytes);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckFinderDatagram(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    // The receivers decode what arrives as the classroom's code page.
    const QString text = Cp932::Decode(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    CheckCommand(text);
    CheckMessage(text);
    return 0;
}
