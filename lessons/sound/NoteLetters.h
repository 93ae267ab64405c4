#pragma once

#include <QChar>
#include <optional>

// The letters that stand for notes in a melody's note text and in the note
// font. A letter carries both the key (do .. high do, rest) and the length.
namespace NoteLetters {

inline constexpr int KeyCount = 14;     // 13 pitches and the rest
inline constexpr int LengthCount = 3;   // short, normal, long
inline constexpr QChar Empty = u'?';    // an unused staff position
inline constexpr QChar Clef = u'@';

// The letter of a note; keyIndex 0..13, lengthIndex 0..2.
QChar LetterFor(int lengthIndex, int keyIndex);

// The key index (0..13) of a note letter, or nothing for any other character.
std::optional<int> KeyIndexOf(QChar letter);
// The length index (0..2) of a note letter, or nothing.
std::optional<int> LengthIndexOf(QChar letter);
// The note code the lamp plays for a letter, or nothing.
std::optional<int> CodeOf(QChar letter);

inline bool IsNoteLetter(QChar c) { return KeyIndexOf(c).has_value(); }

} // namespace NoteLetters
