#pragma once

#include "CommandCodes.h"

#include <QString>

// Note codes of the keyboards as the lamp knows them, and where their sounds lie.
namespace NoteCode {

inline constexpr int For(int lengthIndex, int keyIndex) { return LampCode::NoteCode(lengthIndex, keyIndex); }
inline constexpr int KeyIndexOf(int code) { return LampCode::NoteKey(code); }

// The wave file of a note, as a path below the program folder.
inline QString WaveFile(int code) { return QStringLiteral("wave\\%1.wav").arg(code); }

} // namespace NoteCode
