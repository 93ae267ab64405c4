#pragma once

#include "CommandCodes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The light-program language that STEP3's blocks and STEP5's text both write:
// colour steps, waits for the lamp's input, and repeats with a count around a
// body. Each lesson reads its own input (the slots, the text lines) into
// items and feeds them one by one to a TLightProgramWalk, which holds the
// repeat grammar and writes the lamp's 20 step codes and the steps the
// preview plays. The lessons differ only in how they name a place in their
// messages, so they cannot drift apart on what a program means.
//
// Usage:
//   TLightProgramWalk walk;
//   for (const TLightItem &item : items)
//       if (const TLightGrammarError error = walk.Add(item); error != TLightGrammarError::None)
//           return LightGrammarMessage(error, item.position, wording);
//   ... walk.Finish(), then walk.ProgramList() and walk.ExpandedList()

// One command of a light program at its place in the lesson's input.
struct TLightItem {
    enum class Kind { Empty, Step, Wait, RepeatStart, RepeatEnd };

    Kind kind = Kind::Empty;
    int position = 0;                // slot or line number from 1
    int code = LampCode::EmptyStep;  // the step code of a Step, as the lesson made it
    int count = 0;                   // how many times a RepeatStart's body runs

    static TLightItem Empty(int position) { return {Kind::Empty, position}; }
    static TLightItem Step(int position, int code) { return {Kind::Step, position, code}; }
    static TLightItem Wait(int position) { return {Kind::Wait, position, LampCode::WaitForInput}; }
    static TLightItem RepeatStart(int position, int count)
    {
        return {Kind::RepeatStart, position, LampCode::RepeatStart(position), count};
    }
    static TLightItem RepeatEnd(int position) { return {Kind::RepeatEnd, position}; }
};

// What the repeat grammar refuses, each named after the rule it breaks.
enum class TLightGrammarError {
    None,
    StartWhileOpen,      // repeats do not nest
    EndWithoutStart,
    EndRightAfterStart,  // a repeat needs a body
    UnclosedAtEnd,
};

// Walks a light program item by item and stops at the first item the repeat
// grammar refuses, keeping the codes of the items before it.
class TLightProgramWalk {
public:
    // What the grammar says of `item` after the items taken so far; takes nothing.
    TLightGrammarError Check(const TLightItem &item) const;
    // Checks `item` and takes it when the grammar allows, adding its code.
    TLightGrammarError Add(const TLightItem &item);
    // After the last item: whether a repeat is left open.
    TLightGrammarError Finish() const;

    // One decimal code per item taken.
    QStringList CodesSoFar() const;
    // The 20 step codes: the items' codes, then the empty step.
    QStringList ProgramList() const;
    // The steps the preview plays, every repeat unrolled.
    QStringList ExpandedList() const;

private:
    QList<int> m_codes;
    QList<int> m_counts;  // of every repeat start, in order
    int m_starts = 0;
    int m_ends = 0;
    int m_openStart = 0;  // position of the last repeat start
    // The count of the repeat waiting for its end. A STEP3 start read from a
    // file without a count has 0 here and so is never reported open.
    int m_openCount = 0;
};

// Unrolls a program list; `repeatCounts` holds the count of every repeat in
// the order of their starts. Codes that are neither shown steps nor repeat
// marks are skipped.
QStringList ExpandLightProgram(const QStringList &programList, const QList<int> &repeatCounts);

// How a lesson names a place in its messages. The two lessons also word a
// repeat opened inside another in their own way.
struct TLightWording {
    QStringView unit;            // "個目" for a slot, "行目" for a line
    QStringView startWhileOpen;
};

// "文法エラー「" + position + unit + tail + "」"
QString LightPositionError(int position, QStringView unit, QStringView tail);
// The message of a grammar error at `position`; empty for None.
QString LightGrammarMessage(TLightGrammarError error, int position, const TLightWording &wording);

// The hint-area line of a program that passed its check.
QString LightCheckOkText();
// The box of an execute asked before the program was sent to the lamp.
QString LightNotTransferredText();
