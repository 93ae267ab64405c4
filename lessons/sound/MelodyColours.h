#pragma once

#include <QColor>
#include <QString>
#include <array>

// The colours a key of the light-and-sound keyboard can carry: its colour
// code for the lamp, the key pictures that show it and the colour of the
// markers under its notes.
namespace MelodyColours {

inline constexpr int None = 0;  // LED mode off
inline constexpr int Off = 64;  // LED mode on, no colour chosen yet

struct TKeyColour {
    int code;
    const char *palettePicture;  // empty for "none", which is not on the palette
    const char *whiteKeyPicture;
    const char *blackKeyPicture;
    QRgb marker;
};

// The eight palette colours left to right: red, green, blue, yellow,
// purple, light blue, white, off.
const std::array<TKeyColour, 8> &Palette();

// The entry of a colour code; codes outside the table (a hand-edited file)
// look like "none", so a key always shows a picture.
const TKeyColour &ForCode(int code);
// True for the palette codes and "none".
bool IsKnown(int code);

} // namespace MelodyColours
