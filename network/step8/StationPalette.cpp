#include "StationPalette.h"

#include "CommandCodes.h"

#include <array>

namespace StationPalette {

namespace {
using LampCode::Colour;
using LampCode::ColourFirstStep;
constexpr std::array<TPalettePanel, PanelCount> Panels{{
    {"Image21", "Picture\\LED\\led_red.bmp", ColourFirstStep(Colour::Red), false, "赤"},
    {"Image22", "Picture\\LED\\led_green.bmp", ColourFirstStep(Colour::Green), false, "緑"},
    {"Image23", "Picture\\LED\\led_blue.bmp", ColourFirstStep(Colour::Blue), false, "青"},
    {"Image24", "Picture\\LED\\led_yellow.bmp", ColourFirstStep(Colour::Yellow), false, "黄"},
    {"Image25", "Picture\\LED\\led_purple.bmp", ColourFirstStep(Colour::Purple), false, "紫"},
    {"Image26", "Picture\\LED\\led_lightblue.bmp", ColourFirstStep(Colour::LightBlue), false, "水色"},
    {"Image27", "Picture\\LED\\led_white.bmp", ColourFirstStep(Colour::White), false, "白"},
    {"Image28", "Picture\\LED\\led_off.bmp", ColourFirstStep(Colour::Off), true, "消灯"},
    {"Image29", "Picture\\LED\\delete.bmp", 0, false, "削除"},
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
    QStringList choices;
    const int count = Panel(panel).dark ? LampCode::OffVariantCount : LampCode::VariantCount;
    for (int variant = 0; variant < count; ++variant)
        choices.append(LampCode::VariantLabel(variant));
    return choices;
}

} // namespace StationPalette
