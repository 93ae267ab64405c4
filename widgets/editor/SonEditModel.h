#pragma once

#include "Sonstrings.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <functional>

// Everything the program editor can be asked to do from the keyboard, by name.
enum class TSonEditCommand {
    MoveLeft,
    MoveRight,
    MoveWordLeft,
    MoveWordRight,
    MoveUp,
    MoveDown,
    PageUp,
    PageDown,
    MoveRowStart,
    MoveRowEnd,
    MoveTextStart,
    MoveTextEnd,
    SelectAll,
    DeleteBefore,
    DeleteAfter,
    DeleteWordBefore,
    DeleteWordAfter,
    NewLine,
    InsertTab,
    TypeText,
    Undo,
    Redo,
    ToggleOverwrite,
    // These three need the clipboard, which only the editor window reaches.
    Copy,
    Cut,
    Paste,
};

// What a command is given besides the text: whether Shift extends the
// selection, the typed text, and how many rows a page is on the screen.
struct TSonCommandInput {
    bool extend = false;
    QString text;
    int pageRows = 1;
};

// What a command did, so the window knows what to show and tell its owner.
struct TSonEditResult {
    bool caretMoved = false;
    bool textChanged = false;
    bool modeChanged = false;
    int scrollRows = 0;     // a page move scrolls the view with the caret
};

// The program editor without its window: the line store, caret, selection and
// insert mode, and every edit and caret move as a small named function. The
// window (TSonEdit) adds only what needs a screen: drawing, scrolling, the
// clipboard, failure boxes and its events. Vertical moves aim for the column
// the caret came from, measured by `RowMeasure` (the window measures in
// pixels of its font; without one, in display columns).
class TSonEditModel {
public:
    // The left edge of each character of a row, and one past its end.
    using RowMeasure = std::function<QList<int>(int row)>;

    TSonStrings &Store() { return m_store; }
    const TSonStrings &Store() const { return m_store; }
    void SetRowMeasure(RowMeasure measure) { m_measure = std::move(measure); }
    void SetReadOnly(bool on) { m_readOnly = on; }
    void SetAcceptTabs(bool on) { m_acceptTabs = on; }
    bool ReadOnly() const { return m_readOnly; }
    bool AcceptTabs() const { return m_acceptTabs; }

    // Replaces the whole text and puts the caret at its start; not an edit.
    void SetText(const QString &text);

    TSonPos Caret() const { return m_caret; }
    TSonPos Anchor() const { return m_anchor; }
    bool HasSelection() const { return m_caret != m_anchor; }
    TSonPos SelectionStart() const { return std::min(m_anchor, m_caret); }
    TSonPos SelectionEnd() const { return std::max(m_anchor, m_caret); }
    bool InSelection(TSonPos pos) const { return SelectionStart() <= pos && pos < SelectionEnd(); }
    QString SelectedText() const { return m_store.TextBetween(m_anchor, m_caret); }
    // The selection as the clipboard gets it: lines end in LF alone.
    QString ClipboardText() const;
    bool Overwrite() const { return m_overwrite; }

    // Places the caret; `keepAnchor` extends the selection, `keepGoal` keeps
    // the column that moves up and down aim for.
    void MoveCaret(TSonPos pos, bool keepAnchor, bool keepGoal = false);
    void SetAnchor(TSonPos pos) { m_anchor = m_store.Clamp(pos); }

    // All an editing step may change, so a failing step can be taken back whole.
    struct Snapshot {
        TSonStrings::Snapshot store;
        TSonPos caret;
        TSonPos anchor;
    };
    Snapshot Save() const { return {m_store.Save(), m_caret, m_anchor}; }
    void Restore(const Snapshot &snapshot);

    // Runs a named command; the clipboard commands do nothing here.
    TSonEditResult Run(TSonEditCommand command, const TSonCommandInput &input);

    // Edits, each one record in the undo history. Read-only refuses them all.
    TSonEditResult ReplaceSelection(const QString &text);
    TSonEditResult DeleteRange(TSonPos from, TSonPos to);
    TSonEditResult TypeText(const QString &text);
    TSonEditResult Undo();
    TSonEditResult Redo();
    // Moves the selected text to `pos` (dropped there by the mouse) as one
    // replacement of the stretch between them, so one undo takes it back.
    TSonEditResult MoveSelectionTo(TSonPos pos);

    TSonEditResult SelectAll();
    TSonEditResult SelectWordAt(TSonPos pos);

private:
    TSonEditResult MoveTo(TSonPos pos, bool extend);
    TSonEditResult MoveCharLeft(bool extend);
    TSonEditResult MoveCharRight(bool extend);
    TSonEditResult MoveRows(int rows, bool extend);
    TSonEditResult MovePage(int direction, const TSonCommandInput &input);
    TSonEditResult DeleteBefore();
    TSonEditResult DeleteAfter();
    TSonEditResult ToggleOverwrite();
    TSonEditResult RunMove(TSonEditCommand command, const TSonCommandInput &input);
    TSonEditResult RunEdit(TSonEditCommand command, const TSonCommandInput &input);
    QList<int> RowXs(int row) const;

    TSonStrings m_store;
    TSonPos m_caret;
    TSonPos m_anchor;
    int m_goalX = -1;
    bool m_overwrite = false;
    bool m_readOnly = false;
    bool m_acceptTabs = true;
    RowMeasure m_measure;
};
