#include "MelodyColours.h"

#include "CommandCodes.h"

using LampCode::Colour;
using LampCode::ColourMask;

namespace MelodyColours {

namespace {

const std::array<TKeyColour, 8> kPalette = {{
    {ColourMask(Colour::Red), "Picture\\LED\\led_red.bmp", "picture\\SOUND\\red.bmp", "picture\\SOUND\\S_red.bmp", qRgb(255, 0, 0)},
    {ColourMask(Colour::Green), "Picture\\LED\\led_green.bmp", "picture\\SOUND\\green.bmp", "picture\\SOUND\\S_green.bmp", qRgb(0, 255, 0)},
    {ColourMask(Colour::Blue), "Picture\\LED\\led_blue.bmp", "picture\\SOUND\\blue.bmp", "picture\\SOUND\\S_blue.bmp", qRgb(0, 0, 255)},
    {ColourMask(Colour::Yellow), "Picture\\LED\\led_yellow.bmp", "picture\\SOUND\\yellow.bmp", "picture\\SOUND\\S_yellow.bmp",
     qRgb(255, 255, 0)},
    {ColourMask(Colour::Purple), "Picture\\LED\\led_purple.bmp", "picture\\SOUND\\purple.bmp", "picture\\SOUND\\S_purple.bmp",
     qRgb(255, 0, 255)},
    {ColourMask(Colour::LightBlue), "Picture\\LED\\led_lightblue.bmp", "picture\\SOUND\\lightblue.bmp", "picture\\SOUND\\S_lightblue.bmp",
     qRgb(0, 255, 255)},
    {ColourMask(Colour::White), "Picture\\LED\\led_white.bmp", "picture\\SOUND\\white.bmp", "picture\\SOUND\\S_white.bmp",
     qRgb(255, 255, 255)},
    {ColourMask(Colour::Off), "Picture\\LED\\led_off.bmp", "picture\\SOUND\\off.bmp", "picture\\SOUND\\S_off.bmp", qRgb(128, 128, 128)},
}};

const TKeyColour kNone = {None, "", "picture\\SOUND\\white.bmp", "picture\\SOUND\\black.bmp", qRgb(128, 128, 128)};

} // namespace

const std::array<TKeyColour, 8> &Palette() { return kPalette; }

bool IsKnown(int code)
{
    return code == None || &ForCode(code) != &kNone;
}

const TKeyColour &ForCode(int code)
{
    for (const TKeyColour &colour : kPalette)
        if (colour.code == code)
            return colour;
    return kNone;
}

} // namespace MelodyColours
