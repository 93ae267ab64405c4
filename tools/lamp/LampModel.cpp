#include "LampModel.h"

namespace LampModel {

QColor StepColour(int colourNumber)
{
    switch (colourNumber) {
    case 0: return QColor(255, 0, 0);
    case 1: return QColor(0, 255, 0);
    case 2: return QColor(0, 0, 255);
    case 3: return QColor(255, 255, 0);
    case 4: return QColor(160, 0, 255);
    case 5: return QColor(0, 255, 255);
    case 6: return QColor(255, 255, 255);
    default: return QColor(0, 0, 0);
    }
}

QColor MaskColour(int colourCode)
{
    if (colourCode & 64 || colourCode == 255)
        return QColor(0, 0, 0);
    return QColor(colourCode & 16 ? 255 : 0, colourCode & 2 ? 255 : 0, colourCode & 1 ? 255 : 0);
}

int NoteLengthMs(int noteCode)
{
    switch (noteCode / 16) {
    case 1: return 250;
    case 2: return 500;
    default: return 1000;
    }
}

bool IsRest(int noteCode)
{
    return noteCode % 16 == 13;
}

QList<TLampSegment> DirectLight(int code)
{
    QList<TLampSegment> out;
    if (code < 160 || code > 221)
        return out;
    const int colour = (code - 160) / 8;
    const int variant = (code - 160) % 8;
    TLampSegment seg;
    seg.colour = StepColour(colour);
    if (variant == 6) {
        seg.kind = TLampSegment::FadeIn;
        seg.durationMs = kFadeMs;
    } else if (variant == 7) {
        seg.kind = TLampSegment::FadeOut;
        seg.durationMs = kFadeMs;
    } else {
        seg.durationMs = variant == 0 ? 500 : variant * 1000;
    }
    out.append(seg);
    return out;
}

QList<TLampSegment> LightProgram(const QList<int> &steps)
{
    QList<TLampSegment> out;
    QList<TLampSegment> body;
    bool inRepeat = false;
    for (int code : steps) {
        QList<TLampSegment> piece;
        if (code >= 64 && code <= 83) {
            inRepeat = true;
            body.clear();
            continue;
        }
        if (code >= 84 && code <= 95) {
            const int times = code - 83;
            for (int i = 0; i < times; ++i)
                out += body;
            body.clear();
            inRepeat = false;
            continue;
        }
        if (code == 96) {
            TLampSegment wait;
            wait.kind = TLampSegment::WaitForInput;
            wait.colour = QColor(0, 0, 0);
            piece.append(wait);
        } else {
            piece = DirectLight(code);
        }
        if (inRepeat)
            body += piece;
        else
            out += piece;
    }
    out += body; // a repeat never closed runs once
    return out;
}

QList<TLampSegment> LightSoundProgram(const QList<int> &sound, const QList<int> &light)
{
    QList<TLampSegment> out;
    for (int code : sound) {
        if (code < 16 || code > 61)
            continue; // fillers
        TLampSegment seg;
        seg.kind = TLampSegment::Note;
        seg.noteCode = code;
        seg.durationMs = NoteLengthMs(code);
        const int key = code % 16;
        seg.colour = light.isEmpty() || IsRest(code) ? QColor(0, 0, 0) : MaskColour(light.value(key, 64));
        out.append(seg);
    }
    return out;
}

} // namespace LampModel
