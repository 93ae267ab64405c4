#pragma once

#include "CommandCodes.h"
#include "LightProgram.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The block kinds a STEP3 slot holds; they are also what a STEP3 file stores.
// A colour block's kind plus its selector index plus 1 is the lamp's step code.
namespace BlockKind {
inline constexpr int Empty = LampCode::BlockEmpty;
inline constexpr int RepeatStart = LampCode::BlockRepeatStart;
inline constexpr int RepeatEnd = LampCode::BlockRepeatEnd;
inline constexpr int Wait = LampCode::BlockWait;
inline constexpr int Red = LampCode::ColourBlock(LampCode::Colour::Red);
inline constexpr int Green = LampCode::ColourBlock(LampCode::Colour::Green);
inline constexpr int Blue = LampCode::ColourBlock(LampCode::Colour::Blue);
inline constexpr int Yellow = LampCode::ColourBlock(LampCode::Colour::Yellow);
inline constexpr int Purple = LampCode::ColourBlock(LampCode::Colour::Purple);
inline constexpr int LightBlue = LampCode::ColourBlock(LampCode::Colour::LightBlue);
inline constexpr int White = LampCode::ColourBlock(LampCode::Colour::White);
inline constexpr int Off = LampCode::ColourBlock(LampCode::Colour::Off);

// The seven lit colours (not off).
bool IsColour(int kind);
// A kind that a palette block can put into a slot (colours, off, repeats, wait).
bool IsKnown(int kind);
} // namespace BlockKind

inline constexpr int BlockSlotCount = LampCode::ProgramLength;

struct TBlockSlot {
    int kind = BlockKind::Empty;
    int itemIndex = -1;

    // A kind no palette block has (read from a file) counts as filled too.
    bool IsFilled() const { return kind != BlockKind::Empty; }
    friend bool operator==(const TBlockSlot &, const TBlockSlot &) = default;
};

// Slot 1 is element 0.
using TBlockSlots = std::array<TBlockSlot, BlockSlotCount>;

// What a check and build of the 20 blocks leaves behind.
struct TBlockBuild {
    bool ok = false;           // no pre-check or grammar error: the program may be sent
    bool anyFilled = false;    // at least one slot holds a block
    QStringList messages;      // the boxes to show, in order; empty when ok
    QStringList programList;   // one decimal step code per slot walked (20 when the walk completed)
    QStringList expandedList;  // colour and wait steps with the repeats unrolled
};

// Reads the blocks of the block editor into the light-program language
// (LightProgram.h), which checks the repeats and makes the lamp's program.
// Plain logic: the screen shows the messages.
class TBlockProgramBuilder {
public:
    // The pre-check (no holes, every filled slot with a chosen item) reports
    // its finding, and the walk still runs so the program list is filled; a
    // grammar error found by the walk stops it where it stands.
    static TBlockBuild Build(const TBlockSlots &blocks);

    // The program lines of the report, at most one per slot.
    static QStringList ReportLines(const TBlockSlots &blocks);

    // The selector items a block of `kind` offers in slot `slotNumber` (1..20).
    static QStringList SelectorItems(int kind, int slotNumber);
    // Whether the selector of such a slot can be changed (a repeat end's cannot).
    static bool SelectorEnabled(int kind);
    // The picture file name of a block ("led_red.bmp"), empty for unknown kinds.
    static QString PictureFile(int kind);

    static QString UnsetSelectorMessage();
    static QString GapMessage();
    static QString EmptyProgramMessage();
};
