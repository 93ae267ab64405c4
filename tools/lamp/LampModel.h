#pragma once

#include <QColor>
#include <QList>

// What the lamp shows while it runs a stored program: a sequence of segments,
// each a colour held, faded in or faded out for a time, or a hold until the
// input lead is touched. Repeats are unrolled; empty steps take no time.
struct TLampSegment {
    enum Kind { Hold, FadeIn, FadeOut, WaitForInput, Note };
    Kind kind = Hold;
    QColor colour;      // lit colour (black for dark)
    int durationMs = 0; // 0 for WaitForInput
    int noteCode = -1;  // Note only
};

namespace LampModel {

// Length of a fade on the virtual lamp.
constexpr int kFadeMs = 2000;

QColor StepColour(int colourNumber);          // 0 red .. 6 white, 7 dark
QColor MaskColour(int colourCode);            // red 16, green 2, blue 1 and their sums; 64 off
int NoteLengthMs(int noteCode);               // short, normal, long
bool IsRest(int noteCode);

// The segments of a light program of step codes.
QList<TLampSegment> LightProgram(const QList<int> &steps);
// The segments of a light-and-sound program; every note lights in its key's
// colour when there is a light list.
QList<TLampSegment> LightSoundProgram(const QList<int> &sound, const QList<int> &light);
// One direct command.
QList<TLampSegment> DirectLight(int code);

} // namespace LampModel
