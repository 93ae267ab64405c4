#include "StationPalette.h"

#include <array>

namespace StationPalette {

namespace {
constexpr std::array<TPalettePanel, PanelCount> Panels{{
    {"Image21", "Picture\\LED\\led_red.bmp", 160, false},
    {"Image22", "Picture\\LED\\led_green.bmp", 168, false},
    {"Image23", "Picture\\LED\\led_blue.bmp", 176, false},
    {"Image24", "Picture\\LED\\led_yellow.bmp", 184, false},
    {"Image25", "Picture\\LED\\led_purple.bmp", 192, false},
    {"Image26", "Picture\\LED\\led_lightblue.bmp", 200, false},
    {"Image27", "Picture\\LED\\led_white.bmp", 208, false},
    {"Image28", "Picture\\LED\\led_off.bmp", 216, true},
    {"Image29", "Picture\\LED\\delete.bmp", 0, false},
}};
} // namespace

const TPalettePanel &Panel(int index)
{
    return Panels.at(static_cast<size_t>(index));
}

QStringList Choices(int panel)
{
    if (panel == DeletePanel)
        return {};
    QStringList choices{QStringLiteral("0.5秒")};
    for (int s = 1; s <= 5; ++s)
        choices.append(QString::number(s) + QStringLiteral("秒"));
    if (!Panel(panel).dark)
        choices << QStringLiteral("FADE IN") << QStringLiteral("FADE OUT");
    return choices;
}

} // namespace StationPalette
