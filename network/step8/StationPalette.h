#pragma once

#include <QString>
#include <QStringList>

// The nine panels that can be dragged onto a station slot: seven colours,
// dark, and the panel that empties the slot.
struct TPalettePanel {
    const char *objectName;
    const char *picture;
    int tag;          // the first step code of the colour, 0 for the delete panel
    bool dark;
    const char *spokenName; // what a screen reader calls it
};

namespace StationPalette {
constexpr int PanelCount = 9;
constexpr int DeletePanel = 8;
const TPalettePanel &Panel(int index);

// The duration choices a slot lists for `panel`; the code of choice i is the tag plus i.
QStringList Choices(int panel);
} // namespace StationPalette
