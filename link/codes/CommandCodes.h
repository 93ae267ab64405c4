#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The lamp's one-byte vocabulary. Every screen that lights the lamp, plays a
// note on it or stores a program in it takes its numbers from here; the
// preview and the report read codes back with the same functions, so no
// other file spells these values.
//
// Usage:
//   LampCode::ColourStep(LampCode::Colour::Blue, 2)        -> 178 (blue, 2 s)
//   LampCode::ColourStep(LampCode::Colour::White, LampCode::VariantFadeOut) -> 215
//   LampCode::StepColour(178) / StepVariant(178)           -> Blue / 2
//   LampCode::RepeatStart(5) -> 68, LampCode::RepeatEnd(12) -> 95
//   LampCode::NoteCode(LampCode::LengthNormal, 0)          -> 32
//   LampCode::PadLightProgram({162, 178, 186})             -> 20 texts, the rest "223"
//   Framing and execute bytes: LampCode::ModeLightProgram (2), LampCode::RunLightProgram (6), ...
//   What a screen sends is said with these through TTransferRequest (TransferRequest.h).
namespace LampCode {

// ---- light step codes -------------------------------------------------------

enum class Colour : int { Red = 0, Green, Blue, Yellow, Purple, LightBlue, White, Off };
inline constexpr int ColourCount = 8;

inline constexpr int ColourStepBase = 160;     // red, 0.5 s
inline constexpr int ColourStepLast = 221;     // off, 5 s
inline constexpr int VariantHalfSecond = 0;    // 0.5 s; 1 to 5 are whole seconds
inline constexpr int VariantFadeIn = 6;
inline constexpr int VariantFadeOut = 7;
inline constexpr int VariantCount = 8;
inline constexpr int OffVariantCount = 6;      // off has no fades

constexpr int ColourNumber(Colour c) { return static_cast<int>(c); }

// Whether a colour has this variant (off only 0 to 5).
constexpr bool HasVariant(Colour c, int variant)
{
    const int count = c == Colour::Off ? OffVariantCount : VariantCount;
    return ColourNumber(c) >= 0 && ColourNumber(c) < ColourCount && variant >= 0 && variant < count;
}

// 160 + 8 x colour + variant. Callers pass only pairs for which HasVariant holds.
constexpr int ColourStep(Colour c, int variant) { return ColourStepBase + 8 * ColourNumber(c) + variant; }

// 160 to 221: a colour step (222 and 223 are not off steps).
constexpr bool IsColourStep(int code) { return code >= ColourStepBase && code <= ColourStepLast; }
// The colour and variant of a colour step (IsColourStep must hold).
constexpr Colour StepColour(int code) { return static_cast<Colour>((code - ColourStepBase) / 8); }
constexpr int StepVariant(int code) { return (code - ColourStepBase) % 8; }

// The first code of a colour (its 0.5-second step); STEP2's chips.
constexpr int ColourFirstStep(Colour c) { return ColourStep(c, VariantHalfSecond); }

inline constexpr int ProgramLength = 20;       // steps of a light program
inline constexpr int RepeatStartBase = 63;     // + the step's position 1..20
inline constexpr int RepeatEndBase = 83;       // + the number of runs 1..12
inline constexpr int RepeatCountMax = 12;
inline constexpr int WaitForInput = 96;
inline constexpr int EmptyStep = 223;

constexpr int RepeatStart(int step) { return RepeatStartBase + step; }
constexpr int RepeatEnd(int count) { return RepeatEndBase + count; }
constexpr bool IsRepeatStart(int code) { return code > RepeatStartBase && code <= RepeatStartBase + ProgramLength; }
constexpr bool IsRepeatEnd(int code) { return code > RepeatEndBase && code <= RepeatEndBase + RepeatCountMax; }
constexpr int RepeatStartStep(int code) { return code - RepeatStartBase; }
constexpr int RepeatEndCount(int code) { return code - RepeatEndBase; }

// What a block-editor slot holds: 0 empty, 63 repeat start, 83 repeat end,
// 96 wait, 159 + 8 x colour for a colour block (the selector's index + 1 is
// added when the step code is made).
inline constexpr int BlockEmpty = 0;
inline constexpr int BlockRepeatStart = RepeatStartBase;
inline constexpr int BlockRepeatEnd = RepeatEndBase;
inline constexpr int BlockWait = WaitForInput;
constexpr int ColourBlock(Colour c) { return ColourStepBase - 1 + 8 * ColourNumber(c); }

// ---- note codes ---------------------------------------------------------------

inline constexpr int LengthShort = 0;
inline constexpr int LengthNormal = 1;
inline constexpr int LengthLong = 2;
inline constexpr int LengthCount = 3;
inline constexpr int KeyboardKeys = 13;        // do .. high do by semitones
inline constexpr int KeyRest = 13;             // the STEP7 rest
inline constexpr int KeyCount = 14;

constexpr int NoteCode(int length, int key) { return 16 * (length + 1) + key; }
constexpr bool IsNote(int code) { return code >= 16 && code < 16 * (LengthCount + 1) && code % 16 < KeyCount; }
constexpr int NoteLength(int code) { return code / 16 - 1; }
constexpr int NoteKey(int code) { return code % 16; }

// ---- light list of a light-and-sound program --------------------------------

// Colour mask of a key: red 16, green 2, blue 1 and their sums; off 64.
constexpr int ColourMask(Colour c)
{
    constexpr int masks[ColourCount] = {16, 2, 1, 18, 17, 3, 19, 64};
    return masks[ColourNumber(c)];
}
inline constexpr int LightListFiller = 255;
inline constexpr int LightListLength = 20;

// ---- sound list ---------------------------------------------------------------

inline constexpr int SoundListFiller = 222;
inline constexpr int SoundBlockLength = 20;
inline constexpr int SoundNotesMax = 79;
// Entries of a sound list for a number of notes: the next multiple of 20 above it.
constexpr int SoundListLength(int notes) { return (notes / SoundBlockLength + 1) * SoundBlockLength; }

// ---- framing bytes (the transfer routine sends these, never a program list) ---

inline constexpr int ModeDirectLight = 1;
inline constexpr int ModeLightProgram = 2;
inline constexpr int ModeDirectSound = 3;
inline constexpr int ModeSoundList = 4;
inline constexpr int NextSoundBlock = 5;
inline constexpr int LightListFollows = 8;
inline constexpr int ProgramEnd = 10;
inline constexpr int CloseLightProgram = 1;
inline constexpr int CloseLightAndSound = 2;

// ---- execute bytes --------------------------------------------------------------

// A type of their own, so the host's SendExecute takes only these.
enum Execute : int {
    RunLightProgram = 6,
    RunSoundOnly = 7,
    RunLightAndSound = 9,
};

// ---- the fixed STEP1 sample, the game's direct commands --------------------------

inline constexpr int SampleProgram[] = {ColourStep(Colour::Red, 2), ColourStep(Colour::Blue, 2),
                                        ColourStep(Colour::Yellow, 2)};

// ---- texts ----------------------------------------------------------------------------

// "赤色", "緑色", ... "消灯".
QString ColourLabel(Colour c);
// The block editor's selector item of a variant: "0.5秒", "1秒" .. "5秒", "FADE IN", "FADE OUT".
QString VariantLabel(int variant);

// The decimal text a program list carries.
inline QString Text(int code) { return QString::number(code); }

// A light program of exactly 20 texts: the codes, then "223" up to step 20.
// More than 20 codes is a caller's mistake; the surplus is not sent.
QStringList PadLightProgram(const QList<int> &codes);

} // namespace LampCode
