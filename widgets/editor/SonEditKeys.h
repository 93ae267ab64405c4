#pragma once

#include "SonEditModel.h"

#include <QString>
#include <Qt>

#include <optional>

// Which key runs which command of the program editor. Keys the editor has no
// command for (the function keys among them) get none: the editor leaves them
// to its owner's screen.
namespace SonEditKeys {

// The command for a key press, or none; plain printable text without Ctrl or
// Alt is typed.
std::optional<TSonEditCommand> CommandFor(int key, Qt::KeyboardModifiers modifiers, const QString &text);

// Printable ASCII, half-width katakana and the like; control characters are not typed.
bool Typable(const QString &text);

} // namespace SonEditKeys
