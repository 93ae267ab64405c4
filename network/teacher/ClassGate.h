#pragma once

#include <QString>
#include <QStringList>

// Whether this station takes part in what a teacher's station asks. Only a
// station whose applied settings hold the same class code takes part at all;
// it then tells the class list who it is whatever its receive mode, so the
// teacher sees who refuses. A program or a collection it takes only as its
// receive mode takes a command from that address: mode 1 from every
// station, mode 2 from the six registered, mode 3 from none.
namespace ClassGate {

enum class TAsk { Roster, Program, Collect };

bool Takes(const QStringList &settings, const QString &classCode, const QString &peer, TAsk ask);

} // namespace ClassGate
