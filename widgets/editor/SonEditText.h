#pragma once

#include "Sonstrings.h"

#include <QString>
#include <utility>

// The editor's text as assistive technology reads it: one string with the
// lines joined by "\n", places in it counted in UTF-16 units from the start.
namespace SonEditText {

QString Flat(const TSonStrings &store);
int OffsetOf(const TSonStrings &store, TSonPos pos);
TSonPos PosOf(const TSonStrings &store, int offset);

// What a screen reader asks for around a place: one character, a word, a
// sentence, a line (with its line break) or the whole text.
enum class Unit { Character, Word, Sentence, Line, All };
// The [start, end) stretch of `unit` holding `offset`; at the very end of
// the text, the last one. Empty text gives (0, 0).
std::pair<int, int> StretchAt(const QString &text, int offset, Unit unit);

// The smallest edit that turns `before` into `after`: where it starts, what
// it took out and what it put in.
struct Edit {
    int start = 0;
    QString removed;
    QString inserted;
};
Edit Difference(const QString &before, const QString &after);

} // namespace SonEditText
