#pragma once

#include "CommandCodes.h"

#include <QString>
#include <QStringList>

// STEP2's one light command: which colour a dragged chip stands for, what
// code the chosen seconds make of it, and how the on-screen lamp shows it.
class DirectLightCommand {
public:
    // The colour code of a chip (its 0.5-second step), 0 for a name that is no chip.
    static int ChipCode(const QString &chipName);
    // "Picture\LED\led_red.bmp" and so on, for a chip or for a frame code.
    static QString ChipPicture(const QString &chipName);
    static QString LedPicture(int frameCode);
    // The lit lamp of a colour: "picture\Pre\" + code + ".bmp".
    static QString PreviewPicture(int frameCode);
    // The seconds selector's items, index 0 to 7 = the variants.
    static QStringList SecondsItems();
    // The code sent: the frame's colour code plus the selector index.
    static int Code(int frameCode, int secondsIndex) { return frameCode + secondsIndex; }

    struct Preview {
        int intervalMs;     // timer period
        bool fade;          // true: the fade picture is redrawn every tick
        int startOpacity;   // fades only
        int opacityStep;    // +5 fading in, -5 fading out
    };
    static Preview PreviewFor(int secondsIndex);

    static constexpr int ChipCount = 7;
    static const char *ChipName(int i); // "Image45" .. "Image51"
};

// The opacity of a fade, tick by tick: from 0 to 255 or from 255 to 0 in
// steps of 5, so a fade takes 51 ticks.
class LightFade {
public:
    LightFade() = default;
    LightFade(int start, int step) : m_opacity(start), m_step(step) {}

    int Opacity() const { return m_opacity; }
    // Moves one step; true when the fade has arrived.
    bool Tick();

private:
    int m_opacity = 0;
    int m_step = 5;
};
