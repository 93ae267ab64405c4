#include "Sonstrings.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int kMinWrapColumn = 10;

// Character classes for word movement.
int WordClass(QChar c)
{
    const char16_t u = c.unicode();
    if (u <= ' ' || u == 0x3000)
        return 0;
    if (u < 0x80)
        return (c.isLetterOrNumber() || u == '_') ? 1 : 2;
    if (u >= 0x3040 && u <= 0x309F)
        return 3;
    if ((u >= 0x30A0 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F))
        return 4;
    return 5;
}

qsizetype NewlineBytes() { return 2; }

} // namespace

TSonStrings::TSonStrings()
{
    m_lines.append(QString());
    Rewrap();
}

QString TSonStrings::Text() const
{
    return m_lines.join(QStringLiteral("\r\n"));
}

void TSonStrings::SetText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    m_lines = text.split(lineBreak);
    m_undo.clear();
    m_redo.clear();
    m_undoBytes = 0;
    Rewrap();
}

TSonPos TSonStrings::End() const
{
    return {LineCount() - 1, static_cast<int>(m_lines.last().size())};
}

TSonPos TSonStrings::Clamp(TSonPos pos) const
{
    pos.line = std::clamp(pos.line, 0, LineCount() - 1);
    pos.index = std::clamp(pos.index, 0, static_cast<int>(m_lines.at(pos.line).size()));
    return pos;
}

QString TSonStrings::TextBetween(TSonPos from, TSonPos to) const
{
    from = Clamp(from);
    to = Clamp(to);
    if (to < from)
        std::swap(from, to);
    if (from.line == to.line)
        return m_lines.at(from.line).mid(from.index, to.index - from.index);
    QStringList parts;
    parts.append(m_lines.at(from.line).mid(from.index));
    for (int l = from.line + 1; l < to.line; ++l)
        parts.append(m_lines.at(l));
    parts.append(m_lines.at(to.line).left(to.index));
    return parts.join(QStringLiteral("\r\n"));
}

TSonPos TSonStrings::Next(TSonPos pos) const
{
    pos = Clamp(pos);
    const QString &line = m_lines.at(pos.line);
    if (pos.index >= line.size())
        return pos.line + 1 < LineCount() ? TSonPos{pos.line + 1, 0} : pos;
    const int step = (line.at(pos.index).isHighSurrogate() && pos.index + 1 < line.size()) ? 2 : 1;
    return {pos.line, pos.index + step};
}

TSonPos TSonStrings::Previous(TSonPos pos) const
{
    pos = Clamp(pos);
    if (pos.index == 0)
        return pos.line > 0 ? TSonPos{pos.line - 1, static_cast<int>(m_lines.at(pos.line - 1).size())} : pos;
    const QString &line = m_lines.at(pos.line);
    const int step = (pos.index >= 2 && line.at(pos.index - 1).isLowSurrogate()
                      && line.at(pos.index - 2).isHighSurrogate()) ? 2 : 1;
    return {pos.line, pos.index - step};
}

TSonPos TSonStrings::WordRight(TSonPos pos) const
{
    pos = Clamp(pos);
    const QString &line = m_lines.at(pos.line);
    if (pos.index >= line.size())
        return Next(pos);
    int i = pos.index;
    const int cls = WordClass(line.at(i));
    while (i < line.size() && WordClass(line.at(i)) == cls && cls != 0)
        ++i;
    while (i < line.size() && WordClass(line.at(i)) == 0)
        ++i;
    return {pos.line, i};
}

TSonPos TSonStrings::WordLeft(TSonPos pos) const
{
    pos = Clamp(pos);
    if (pos.index == 0)
        return Previous(pos);
    const QString &line = m_lines.at(pos.line);
    int i = pos.index;
    while (i > 0 && WordClass(line.at(i - 1)) == 0)
        --i;
    if (i > 0) {
        const int cls = WordClass(line.at(i - 1));
        while (i > 0 && WordClass(line.at(i - 1)) == cls)
            --i;
    }
    return {pos.line, i};
}

void TSonStrings::SetWordWrap(bool on)
{
    m_wordWrap = on;
    Rewrap();
}

void TSonStrings::SetWrapColumn(int column)
{
    m_wrapColumn = std::max(column, kMinWrapColumn);
    Rewrap();
}

void TSonStrings::SetTabWidth(int width)
{
    m_tabWidth = std::max(width, 1);
    Rewrap();
}

int TSonStrings::CharBytes(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F))
        return 1;
    if (c.isLowSurrogate())
        return 0;   // its high surrogate already counted the pair
    return 2;
}

qsizetype TSonStrings::TextBytes(const QString &text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            bytes += NewlineBytes();
            ++i;
            continue;
        }
        bytes += text.at(i) == QLatin1Char('\n') ? NewlineBytes() : CharBytes(text.at(i));
    }
    return bytes;
}

void TSonStrings::RewrapAfterEdit()
{
    // A failure while re-wrapping an edit is reported as the edit's own step error.
    try {
        Rewrap();
    } catch (const TSonStepError &) {
        throw;
    } catch (const std::exception &e) {
        throw TSonStepError(QStringLiteral("Error:OC004 ") + QString::fromLocal8Bit(e.what()));
    }
}

void TSonStrings::Rewrap()
{
    Fault("wrap");
    QList<TSonRow> rows;
    QList<int> firstRow;
    rows.reserve(m_lines.size());
    firstRow.reserve(m_lines.size());
    for (int l = 0; l < LineCount(); ++l) {
        firstRow.append(static_cast<int>(rows.size()));
        const QString &line = m_lines.at(l);
        TSonRow row{l, 0, 0, false};
        int column = 0;
        for (int i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (c.isLowSurrogate())
                continue;
            const int width = c == QLatin1Char('\t') ? m_tabWidth - column % m_tabWidth : CharBytes(c);
            if (m_wordWrap && column > 0 && column + width > m_wrapColumn) {
                row.length = i - row.start;
                rows.append(row);
                row = TSonRow{l, i, 0, false};
                column = c == QLatin1Char('\t') ? m_tabWidth : width;
                continue;
            }
            column += width;
        }
        row.length = static_cast<int>(line.size()) - row.start;
        row.endsLine = true;
        rows.append(row);
    }
    m_rows = std::move(rows);
    m_firstRow = std::move(firstRow);
}

int TSonStrings::RowOf(TSonPos pos) const
{
    pos = Clamp(pos);
    int row = m_firstRow.at(pos.line);
    while (!m_rows.at(row).endsLine && pos.index >= m_rows.at(row).start + m_rows.at(row).length)
        ++row;
    return row;
}

TSonPos TSonStrings::RowStart(int row) const
{
    const TSonRow &r = m_rows.at(std::clamp(row, 0, RowCount() - 1));
    return {r.line, r.start};
}

TSonPos TSonStrings::RowEnd(int row) const
{
    const TSonRow &r = m_rows.at(std::clamp(row, 0, RowCount() - 1));
    // The end of a soft row is the start of the next one; stay before its last character.
    if (!r.endsLine && r.length > 0)
        return Previous({r.line, r.start + r.length});
    return {r.line, r.start + r.length};
}

QString TSonStrings::RowDisplayText(int row, QList<int> *columns) const
{
    const TSonRow &r = m_rows.at(row);
    const QString piece = m_lines.at(r.line).mid(r.start, r.length);
    QString shown;
    int column = 0;
    if (columns)
        columns->clear();
    for (const QChar c : piece) {
        if (columns)
            columns->append(column);
        if (c == QLatin1Char('\t')) {
            const int width = m_tabWidth - column % m_tabWidth;
            shown += QString(width, QLatin1Char(' '));
            column += width;
        } else {
            shown += c;
            column += CharBytes(c);
        }
    }
    if (columns)
        columns->append(column);
    return shown;
}

TSonPos TSonStrings::PosAtColumn(int row, int column) const
{
    row = std::clamp(row, 0, RowCount() - 1);
    QList<int> columns;
    RowDisplayText(row, &columns);
    const TSonRow &r = m_rows.at(row);
    int best = 0;
    for (int i = 0; i < columns.size(); ++i) {
        if (i < r.length && m_lines.at(r.line).at(r.start + i).isLowSurrogate())
            continue;
        if (columns.at(i) <= column)
            best = i;
    }
    if (!r.endsLine && best >= r.length)
        best = r.length - 1;
    return {r.line, r.start + std::max(best, 0)};
}

void TSonStrings::Fault(const char *step) const
{
    if (m_faultHook)
        m_faultHook(step);
}

void TSonStrings::Record(TSonPos from, const QString &removed, const QString &inserted)
{
    try {
        Fault("record");
        // What was undone describes a text this edit has moved away from.
        for (const UndoRecord &undone : std::as_const(m_redo))
            m_undoBytes -= TextBytes(undone.removed) + TextBytes(undone.inserted);
        m_redo.clear();
        const qsizetype bytes = TextBytes(removed) + TextBytes(inserted);
        if (bytes > UndoBudget) {
            // The older records describe a text that this edit has replaced
            // beyond recall; undoing them now would scramble the text.
            m_undo.clear();
            m_undoBytes = 0;
            return;
        }
        // Typing runs together into one record, so undo takes back a word, not a letter.
        if (removed.isEmpty() && inserted.size() == 1 && inserted.at(0) != QLatin1Char('\n')
            && !m_undo.isEmpty()) {
            UndoRecord &last = m_undo.first();
            if (last.removed.isEmpty() && !last.inserted.contains(QLatin1Char('\n'))
                && last.from.line == from.line && last.from.index + last.inserted.size() == from.index
                && m_undoBytes + bytes <= UndoBudget) {
                last.inserted += inserted;
                m_undoBytes += bytes;
                return;
            }
        }
        while (!m_undo.isEmpty() && m_undoBytes + bytes > UndoBudget) {
            const UndoRecord &oldest = m_undo.last();
            m_undoBytes -= TextBytes(oldest.removed) + TextBytes(oldest.inserted);
            m_undo.removeLast();
        }
        m_undo.prepend(UndoRecord{from, removed, inserted});
        m_undoBytes += bytes;
    } catch (const std::exception &) {
        throw TSonStepError(QStringLiteral("Error:OC001"));
    }
}

TSonPos TSonStrings::EndOf(TSonPos from, const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList pieces = text.split(lineBreak);
    return {from.line + static_cast<int>(pieces.size()) - 1,
            static_cast<int>((pieces.size() == 1 ? from.index : 0) + pieces.last().size())};
}

TSonPos TSonStrings::ApplyReplace(TSonPos from, TSonPos to, const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QString head = m_lines.at(from.line).left(from.index);
    const QString tail = m_lines.at(to.line).mid(to.index);
    QStringList pieces = text.split(lineBreak);
    const TSonPos after = EndOf(from, text);
    pieces.first().prepend(head);
    pieces.last().append(tail);
    m_lines.remove(from.line, to.line - from.line + 1);
    for (qsizetype i = 0; i < pieces.size(); ++i)
        m_lines.insert(from.line + i, pieces.at(i));
    return after;
}

TSonPos TSonStrings::Replace(TSonPos from, TSonPos to, const QString &text)
{
    from = Clamp(from);
    to = Clamp(to);
    if (to < from)
        std::swap(from, to);
    const QString removed = TextBetween(from, to);
    if (removed.isEmpty() && text.isEmpty())
        return from;
    QString inserted = text;
    inserted.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString removedLf = removed;
    removedLf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Record(from, removedLf, inserted);
    const TSonPos after = ApplyReplace(from, to, inserted);
    RewrapAfterEdit();
    return after;
}

bool TSonStrings::Undo(TSonPos *caret)
{
    if (m_undo.isEmpty())
        return false;
    const UndoRecord record = m_undo.first();
    const TSonPos after = ApplyReplace(record.from, Clamp(EndOf(record.from, record.inserted)), record.removed);
    m_undo.removeFirst();
    m_redo.prepend(record);
    RewrapAfterEdit();
    if (caret)
        *caret = after;
    return true;
}

bool TSonStrings::Redo(TSonPos *caret)
{
    if (m_redo.isEmpty())
        return false;
    const UndoRecord record = m_redo.first();
    const TSonPos after = ApplyReplace(record.from, Clamp(EndOf(record.from, record.removed)), record.inserted);
    m_redo.removeFirst();
    m_undo.prepend(record);
    RewrapAfterEdit();
    if (caret)
        *caret = after;
    return true;
}

TSonStrings::Snapshot TSonStrings::Save() const
{
    return Snapshot{m_lines, m_undo, m_redo, m_undoBytes};
}

void TSonStrings::Restore(const Snapshot &snapshot)
{
    m_lines = snapshot.lines;
    m_undo = snapshot.undo;
    m_redo = snapshot.redo;
    m_undoBytes = snapshot.undoBytes;
    const auto hook = std::move(m_faultHook);
    m_faultHook = nullptr;
    Rewrap();
    m_faultHook = hook;
}
