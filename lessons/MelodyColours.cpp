#include "MelodyColours.h"

namespace MelodyColours {

namespace {

const std::array<TKeyColour, 8> kPalette = {{
    {16, "Picture\\LED\\led_red.bmp", "picture\\SOUND\\red.bmp", "picture\\SOUND\\S_red.bmp", qRgb(255, 0, 0)},
    {2, "Picture\\LED\\led_green.bmp", "picture\\SOUND\\green.bmp", "picture\\SOUND\\S_green.bmp", qRgb(0, 255, 0)},
    {1, "Picture\\LED\\led_blue.bmp", "picture\\SOUND\\blue.bmp", "picture\\SOUND\\S_blue.bmp", qRgb(0, 0, 255)},
    {18, "Picture\\LED\\led_yellow.bmp", "picture\\SOUND\\yellow.bmp", "picture\\SOUND\\S_yellow.bmp",
     qRgb(255, 255, 0)},
    {17, "Picture\\LED\\led_purple.bmp", "picture\\SOUND\\purple.bmp", "picture\\SOUND\\S_purple.bmp",
     qRgb(255, 0, 255)},
    {3, "Picture\\LED\\led_lightblue.bmp", "picture\\SOUND\\lightblue.bmp", "picture\\SOUND\\S_lightblue.bmp",
     qRgb(0, 255, 255)},
    {19, "Picture\\LED\\led_white.bmp", "picture\\SOUND\\white.bmp", "picture\\SOUND\\S_white.bmp",
     qRgb(255, 255, 255)},
    {Off, "Picture\\LED\\led_off.bmp", "picture\\SOUND\\off.bmp", "picture\\SOUND\\S_off.bmp", qRgb(128, 128, 128)},
}};

const TKeyColour kNone = {None, "", "picture\\SOUND\\white.bmp", "picture\\SOUND\\black.bmp", qRgb(128, 128, 128)};

} // namespace

const std::array<TKeyColour, 8> &Palette() { return kPalette; }

const TKeyColour &ForCode(int code)
{
    for (const TKeyColour &colour : kPalette)
        if (colour.code == code)
            return colour;
    return kNone;
}

} // namespace MelodyColours
