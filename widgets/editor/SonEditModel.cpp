#include "SonEditModel.h"

#include <algorithm>
#include <cstdlib>

namespace {
const TSonEditResult kMoved{true};
const TSonEditResult kEdited{true, true};
} // namespace

void TSonEditModel::SetText(const QString &text)
{
    m_store.SetText(text);
    m_caret = m_anchor = TSonPos{};
    m_goalX = -1;
}

QString TSonEditModel::ClipboardText() const
{
    return SelectedText().replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void TSonEditModel::MoveCaret(TSonPos pos, bool keepAnchor, bool keepGoal)
{
    m_caret = m_store.Clamp(pos);
    if (!keepAnchor)
        m_anchor = m_caret;
    if (!keepGoal)
        m_goalX = -1;
}

void TSonEditModel::Restore(const Snapshot &snapshot)
{
    m_store.Restore(snapshot.store);
    m_caret = snapshot.caret;
    m_anchor = snapshot.anchor;
}

TSonEditResult TSonEditModel::Run(TSonEditCommand command, const TSonCommandInput &input)
{
    switch (command) {
    case TSonEditCommand::DeleteBefore:
    case TSonEditCommand::DeleteAfter:
    case TSonEditCommand::DeleteWordBefore:
    case TSonEditCommand::DeleteWordAfter:
    case TSonEditCommand::NewLine:
    case TSonEditCommand::InsertTab:
    case TSonEditCommand::TypeText:
    case TSonEditCommand::Undo:
    case TSonEditCommand::Redo:
        return RunEdit(command, input);
    case TSonEditCommand::SelectAll:
        return SelectAll();
    case TSonEditCommand::ToggleOverwrite:
        return ToggleOverwrite();
    case TSonEditCommand::Copy:
    case TSonEditCommand::Cut:
    case TSonEditCommand::Paste:
        return {};
    default:
        return RunMove(command, input);
    }
}

TSonEditResult TSonEditModel::RunMove(TSonEditCommand command, const TSonCommandInput &input)
{
    const int row = m_store.RowOf(m_caret);
    switch (command) {
    case TSonEditCommand::MoveLeft: return MoveCharLeft(input.extend);
    case TSonEditCommand::MoveRight: return MoveCharRight(input.extend);
    case TSonEditCommand::MoveWordLeft: return MoveTo(m_store.WordLeft(m_caret), input.extend);
    case TSonEditCommand::MoveWordRight: return MoveTo(m_store.WordRight(m_caret), input.extend);
    case TSonEditCommand::MoveUp: return MoveRows(-1, input.extend);
    case TSonEditCommand::MoveDown: return MoveRows(1, input.extend);
    case TSonEditCommand::PageUp: return MovePage(-1, input);
    case TSonEditCommand::PageDown: return MovePage(1, input);
    case TSonEditCommand::MoveRowStart: return MoveTo(m_store.RowStart(row), input.extend);
    case TSonEditCommand::MoveRowEnd: return MoveTo(m_store.RowEnd(row), input.extend);
    case TSonEditCommand::MoveTextStart: return MoveTo(TSonPos{}, input.extend);
    case TSonEditCommand::MoveTextEnd: return MoveTo(m_store.End(), input.extend);
    default: return {};
    }
}

TSonEditResult TSonEditModel::RunEdit(TSonEditCommand command, const TSonCommandInput &input)
{
    switch (command) {
    case TSonEditCommand::DeleteBefore: return DeleteBefore();
    case TSonEditCommand::DeleteAfter: return DeleteAfter();
    // A word deletion ignores the selection: it takes the word at the caret.
    case TSonEditCommand::DeleteWordBefore: return DeleteRange(m_store.WordLeft(m_caret), m_caret);
    case TSonEditCommand::DeleteWordAfter: return DeleteRange(m_caret, m_store.WordRight(m_caret));
    case TSonEditCommand::NewLine: return ReplaceSelection(QStringLiteral("\n"));
    case TSonEditCommand::InsertTab: return m_acceptTabs ? ReplaceSelection(QStringLiteral("\t")) : TSonEditResult{};
    case TSonEditCommand::TypeText: return TypeText(input.text);
    case TSonEditCommand::Undo: return Undo();
    case TSonEditCommand::Redo: return Redo();
    default: return {};
    }
}

// ---- moves --------------------------------------------------------------------

TSonEditResult TSonEditModel::MoveTo(TSonPos pos, bool extend)
{
    MoveCaret(pos, extend);
    return kMoved;
}

// Without Shift, a selection collapses to the side the arrow points to.
TSonEditResult TSonEditModel::MoveCharLeft(bool extend)
{
    if (HasSelection() && !extend)
        return MoveTo(SelectionStart(), false);
    return MoveTo(m_store.Previous(m_caret), extend);
}

TSonEditResult TSonEditModel::MoveCharRight(bool extend)
{
    if (HasSelection() && !extend)
        return MoveTo(SelectionEnd(), false);
    return MoveTo(m_store.Next(m_caret), extend);
}

QList<int> TSonEditModel::RowXs(int row) const
{
    if (m_measure)
        return m_measure(row);
    QList<int> columns;
    m_store.RowDisplayText(row, &columns);
    return columns;
}

// Up and down aim for the column the caret had before the first of them, so
// passing a short row does not pull the caret to the left for good.
TSonEditResult TSonEditModel::MoveRows(int rows, bool extend)
{
    const int row = m_store.RowOf(m_caret);
    if (m_goalX < 0)
        m_goalX = RowXs(row).at(m_caret.index - m_store.Rows().at(row).start);
    const int target = std::clamp(row + rows, 0, m_store.RowCount() - 1);
    const QList<int> xs = RowXs(target);
    const TSonRow &r = m_store.Rows().at(target);
    int best = 0;
    for (int i = 0; i < xs.size(); ++i) {
        if (i < r.length && m_store.Line(r.line).at(r.start + i).isLowSurrogate())
            continue;
        if (!r.endsLine && i >= r.length)
            break;
        if (std::abs(xs.at(i) - m_goalX) < std::abs(xs.at(best) - m_goalX))
            best = i;
    }
    MoveCaret({r.line, r.start + best}, extend, true);
    return kMoved;
}

TSonEditResult TSonEditModel::MovePage(int direction, const TSonCommandInput &input)
{
    const int rows = direction * std::max(1, input.pageRows);
    TSonEditResult result = MoveRows(rows, input.extend);
    result.scrollRows = rows;
    return result;
}

TSonEditResult TSonEditModel::SelectAll()
{
    m_anchor = TSonPos{};
    return MoveTo(m_store.End(), true);
}

// A word, or the run of spaces or signs, under `pos`, never past its line.
TSonEditResult TSonEditModel::SelectWordAt(TSonPos pos)
{
    pos = m_store.Clamp(pos);
    const TSonPos end = m_store.WordRight(pos);
    const TSonPos start = std::min(m_store.WordLeft(m_store.Next(pos)), pos);
    const int lineLength = static_cast<int>(m_store.Line(pos.line).size());
    m_anchor = start.line == pos.line ? start : TSonPos{pos.line, 0};
    return MoveTo(end.line == pos.line ? end : TSonPos{pos.line, lineLength}, true);
}

TSonEditResult TSonEditModel::ToggleOverwrite()
{
    m_overwrite = !m_overwrite;
    TSonEditResult result;
    result.modeChanged = true;
    return result;
}

// ---- edits --------------------------------------------------------------------

TSonEditResult TSonEditModel::ReplaceSelection(const QString &text)
{
    if (m_readOnly || (!HasSelection() && text.isEmpty()))
        return {};
    MoveCaret(m_store.Replace(m_anchor, m_caret, text), false);
    return kEdited;
}

TSonEditResult TSonEditModel::DeleteRange(TSonPos from, TSonPos to)
{
    if (m_readOnly || from == to)
        return {};
    m_store.Remove(from, to);
    MoveCaret(std::min(from, to), false);
    return kEdited;
}

TSonEditResult TSonEditModel::DeleteBefore()
{
    if (HasSelection())
        return ReplaceSelection(QString());
    return DeleteRange(m_store.Previous(m_caret), m_caret);
}

TSonEditResult TSonEditModel::DeleteAfter()
{
    if (HasSelection())
        return ReplaceSelection(QString());
    return DeleteRange(m_caret, m_store.Next(m_caret));
}

// In overwrite mode a typed character takes the place of the one after the
// caret, but never of a line end.
TSonEditResult TSonEditModel::TypeText(const QString &text)
{
    if (m_readOnly)
        return {};
    if (m_overwrite && !HasSelection() && m_caret.index < m_store.Line(m_caret.line).size())
        m_anchor = m_store.Next(m_caret);
    return ReplaceSelection(text);
}

TSonEditResult TSonEditModel::Undo()
{
    if (m_readOnly || !m_store.CanUndo())
        return {};
    TSonPos caret;
    m_store.Undo(&caret);
    MoveCaret(caret, false);
    return kEdited;
}

TSonEditResult TSonEditModel::Redo()
{
    if (m_readOnly || !m_store.CanRedo())
        return {};
    TSonPos caret;
    m_store.Redo(&caret);
    MoveCaret(caret, false);
    return kEdited;
}

TSonEditResult TSonEditModel::MoveSelectionTo(TSonPos pos)
{
    if (m_readOnly || !HasSelection() || InSelection(pos))
        return {};
    const TSonPos from = SelectionStart();
    const TSonPos to = SelectionEnd();
    const QString moved = SelectedText();
    if (pos >= to) {
        const QString passed = m_store.TextBetween(to, pos);
        const TSonPos end = m_store.Replace(from, pos, passed + moved);
        m_anchor = TSonStrings::EndOf(from, passed);
        MoveCaret(end, true);
    } else {
        const QString passed = m_store.TextBetween(pos, from);
        m_store.Replace(pos, to, moved + passed);
        m_anchor = pos;
        MoveCaret(TSonStrings::EndOf(pos, moved), true);
    }
    return kEdited;
}
