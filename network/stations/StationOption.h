#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// The start option "--station-address=A.B.C.D" (or "--station-address A.B.C.D")
// pins the station to one IPv4 address, for running several stations on one
// computer (a teacher's demonstration, or a check before the lesson).
struct TStationOption {
    QHostAddress address;  // null when the option is absent or unusable
    QString error;         // the message for the user when the value is unusable
};

TStationOption ReadStationOption(const QStringList &arguments);
