#pragma once

#include <QList>
#include <QStringList>
#include <array>

// The two lists a light-and-sound program hands to the transfer.
namespace MelodyProgram {

inline constexpr int KeyCount = 14;
using KeyColours = std::array<int, KeyCount>;

// The note codes as decimal texts, filled up with the filler 222 to the next
// multiple of 20 above the number of notes (20 notes give 40 entries).
QStringList SoundList(const QList<int> &noteCodes);

// The colour codes of keys 1 to 14 followed by six 255: 20 entries.
QStringList LightList(const KeyColours &colours);

} // namespace MelodyProgram
