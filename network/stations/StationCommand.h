#pragma once

#include "CommandCodes.h"

#include <QString>
#include <QStringList>
#include <optional>

class TMainHost;

// A command one station sends another on the program exchange port: the
// execute byte, one light step lit at once, or a twenty-step program.
struct TStationCommand {
    enum class Kind { Execute, Direct, Program };
    Kind kind = Kind::Execute;
    int code = 0;            // Direct: the step code
    QStringList program;     // Program: twenty decimal byte texts
};

namespace StationCommand {
constexpr int ProgramLength = LampCode::ProgramLength;
constexpr int Filler = LampCode::EmptyStep;
constexpr LampCode::Execute ExecuteByte = LampCode::RunLightProgram;

QString EncodeExecute();                // "06"
QString EncodeDirect(int code);         // "162"
QString EncodeProgram(int code);        // "162,223,...,223" (twenty fields)

// Reads one received text; anything that is not one of the three forms
// (empty, not a number, a program of fewer than twenty numeric fields,
// values outside a byte) gives nullopt and is ignored by the receiver.
std::optional<TStationCommand> Parse(const QString &text);

// Sets the shared state and runs Transfer or SendExecute now.
void Run(TMainHost &host, const TStationCommand &command);

// Hands a command to the own lamp: queued behind a transfer that is on the
// wire, then the shared state is set and Transfer or SendExecute runs.
void Apply(TMainHost &host, const TStationCommand &command);
} // namespace StationCommand
