#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The start option "--teacher" (or "--teacher=3A" with the class code) opens
// the teacher's view at start, for the teacher's computer.
// nullopt when the option is absent; the class code (possibly empty) otherwise.
std::optional<QString> ReadTeacherOption(const QStringList &arguments);
