#pragma once

#include "rs232c.h"

#include <QString>

// The texts the hint area shows when a transfer cannot reach the lamp.
namespace TransferStatus {

// Why nothing reached the lamp; "" for OpenProblem::None.
QString NothingSent(Trs232c::OpenProblem problem, const QString &portName, const QString &device);
// Why the lamp did not get the whole transfer (the cable came out, a write hung).
QString Interrupted(const QString &portName);

QString NotANumber(const QString &listName, int position, const QString &entry);
QString WrongLightProgramLength(int entries);
QString EmptySoundList();
QString UnknownMode(int mode);

} // namespace TransferStatus
