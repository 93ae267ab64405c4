#pragma once

#include <QRect>

// Where the keys of an on-screen keyboard lie: white keys side by side,
// black keys over the gaps between their white neighbours, top edges aligned.
namespace KeyboardLayout {

inline constexpr QSize WhiteKey{44, 144};
inline constexpr QSize BlackKey{30, 90};

// True for do#, re#, fa#, so#, ra# (key index 0..12).
bool IsBlack(int keyIndex);

// The rectangle of key `keyIndex` (0..12) with the low do's top-left at `origin`.
QRect KeyRect(QPoint origin, int keyIndex);

} // namespace KeyboardLayout

namespace KeyboardLayout {
// The picture of the note name drawn on key `keyIndex` (0..12, 13 the rest).
const char *NoteNamePicture(int keyIndex);
} // namespace KeyboardLayout

#include <QPixmap>

namespace KeyboardLayout {
// The note-name picture of a key, see-through where it has the colour of its
// bottom-left pixel, so the key's own picture (its colour) shows around the
// name. Throws TLoadError when the file is missing.
QPixmap NoteNamePixmap(int keyIndex);
} // namespace KeyboardLayout
