#pragma once

#include <QList>
#include <QStringList>

// Writes out the repeats of a checked light program (20 decimal step codes) in
// the order the lamp shows its steps; `repeatCounts` holds the count of every
// repeat in the order of their starts. The preview plays the result.
QStringList ExpandLightProgram(const QStringList &programList, const QList<int> &repeatCounts);
