#include "SonEditText.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace SonEditText {

QString Flat(const TSonStrings &store)
{
    QString text;
    for (int line = 0; line < store.LineCount(); ++line) {
        if (line > 0)
            text += QLatin1Char('\n');
        text += store.Line(line);
    }
    return text;
}

int OffsetOf(const TSonStrings &store, TSonPos pos)
{
    pos = store.Clamp(pos);
    int offset = 0;
    for (int line = 0; line < pos.line; ++line)
        offset += static_cast<int>(store.Line(line).size()) + 1;
    return offset + pos.index;
}

TSonPos PosOf(const TSonStrings &store, int offset)
{
    int line = 0;
    offset = std::max(0, offset);
    while (line + 1 < store.LineCount() && offset > store.Line(line).size()) {
        offset -= static_cast<int>(store.Line(line).size()) + 1;
        ++line;
    }
    return store.Clamp({line, offset});
}

namespace {

std::pair<int, int> LineAt(const QString &text, int offset)
{
    const qsizetype start = offset > 0 ? text.lastIndexOf(QLatin1Char('\n'), offset - 1) + 1 : 0;
    const qsizetype end = text.indexOf(QLatin1Char('\n'), offset);
    return {static_cast<int>(start), end < 0 ? static_cast<int>(text.size()) : static_cast<int>(end) + 1};
}

// A word or sentence by the Unicode rules; a word is the stretch between two
// boundaries, so a run of spaces or one punctuation mark counts as one too.
std::pair<int, int> BoundedAt(const QString &text, int offset, QTextBoundaryFinder::BoundaryType type)
{
    QTextBoundaryFinder finder(type, text);
    finder.setPosition(offset);
    const int start = finder.isAtBoundary() ? offset : static_cast<int>(finder.toPreviousBoundary());
    finder.setPosition(offset);
    const qsizetype next = finder.toNextBoundary();
    return {std::max(0, start), next < 0 ? static_cast<int>(text.size()) : static_cast<int>(next)};
}

} // namespace

std::pair<int, int> StretchAt(const QString &text, int offset, Unit unit)
{
    const int length = static_cast<int>(text.size());
    if (length == 0)
        return {0, 0};
    offset = std::clamp(offset, 0, length);
    if (unit == Unit::All)
        return {0, length};
    if (unit == Unit::Line)
        return LineAt(text, offset);
    // After the last character there is none to read; a word or sentence is the last one.
    if (unit == Unit::Character && offset == length)
        return {length, length};
    if (offset == length)
        offset = length - 1 - ((length > 1 && text.at(length - 1).isLowSurrogate()) ? 1 : 0);
    if (unit == Unit::Character) {
        const bool pair = text.at(offset).isHighSurrogate() && offset + 1 < length;
        return {offset, offset + (pair ? 2 : 1)};
    }
    return BoundedAt(text, offset,
                     unit == Unit::Word ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence);
}

Edit Difference(const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    return {static_cast<int>(head), before.mid(head, before.size() - head - tail),
            after.mid(head, after.size() - head - tail)};
}

} // namespace SonEditText
