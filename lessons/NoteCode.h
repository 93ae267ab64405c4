#pragma once

#include <QString>

// Note codes of the keyboards: the high four bits hold the length (1 short,
// 2 normal, 3 long), the low four bits the key index.
namespace NoteCode {

inline constexpr int For(int lengthIndex, int keyIndex) { return 16 * (lengthIndex + 1) + keyIndex; }
inline constexpr int KeyIndexOf(int code) { return code % 16; }

// The wave file of a note, as a path below the program folder.
inline QString WaveFile(int code) { return QStringLiteral("wave\\%1.wav").arg(code); }

} // namespace NoteCode
