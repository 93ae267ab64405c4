#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <compare>
#include <functional>
#include <stdexcept>

// A place in the text: a line and a character index inside it.
struct TSonPos {
    int line = 0;
    int index = 0;
    auto operator<=>(const TSonPos &) const = default;
};

// One row on the screen: a piece of a line; only the last row of a line ends it.
struct TSonRow {
    int line = 0;
    int start = 0;
    int length = 0;
    bool endsLine = true;
};

// A failing step of an edit, with the short code the editor shows for it.
class TSonStepError : public std::runtime_error {
public:
    explicit TSonStepError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

// The line store of the program editor: the lines, their soft wrap into rows
// (counted in code page 932 bytes after tab expansion) and the undo history.
class TSonStrings {
public:
    static constexpr qsizetype UndoBudget = 1015808;

    TSonStrings();

    // The whole text, lines joined by CR LF, no line end after the last.
    QString Text() const;
    // Replaces everything; the undo history no longer fits and is dropped.
    void SetText(const QString &text);
    void Clear() { SetText(QString()); }

    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const QString &Line(int line) const { return m_lines.at(line); }
    TSonPos End() const;
    TSonPos Clamp(TSonPos pos) const;
    QString TextBetween(TSonPos from, TSonPos to) const;
    // One character forwards or backwards, crossing line ends; a surrogate
    // pair counts as one character.
    TSonPos Next(TSonPos pos) const;
    // Where `text` ends when it is put at `from` (any line break counts).
    static TSonPos EndOf(TSonPos from, const QString &text);
    TSonPos Previous(TSonPos pos) const;
    TSonPos WordLeft(TSonPos pos) const;
    TSonPos WordRight(TSonPos pos) const;

    // Wrap and tabs. The wrap column is at least 10.
    void SetWordWrap(bool on);
    void SetWrapColumn(int column);
    void SetTabWidth(int width);
    bool WordWrap() const { return m_wordWrap; }
    int WrapColumn() const { return m_wrapColumn; }
    int TabWidth() const { return m_tabWidth; }
    // Wraps all lines again (also done after every edit).
    void Rewrap();

    const QList<TSonRow> &Rows() const { return m_rows; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The row that shows `pos` (at a soft wrap point, the later row).
    int RowOf(TSonPos pos) const;
    TSonPos RowStart(int row) const;
    TSonPos RowEnd(int row) const;
    // The text of a row with its tabs expanded to spaces, and the display
    // column (in bytes) of each character index of the row: `columns` gets
    // row.length + 1 entries.
    QString RowDisplayText(int row, QList<int> *columns = nullptr) const;
    // The character index on `row` nearest to display column `column`.
    TSonPos PosAtColumn(int row, int column) const;

    // Bytes of a character in code page 932: 1 for ASCII and half-width
    // katakana, 2 for the rest.
    static int CharBytes(QChar c);
    static qsizetype TextBytes(const QString &text);

    // Edits made by the user: each is recorded for undo. They return the
    // position after the new text.
    TSonPos Replace(TSonPos from, TSonPos to, const QString &text);
    TSonPos Insert(TSonPos at, const QString &text) { return Replace(at, at, text); }
    void Remove(TSonPos from, TSonPos to) { Replace(from, to, QString()); }

    // Undoes the newest record; `caret` gets the position after the restored text.
    bool Undo(TSonPos *caret);
    bool CanUndo() const { return !m_undo.isEmpty(); }
    // Makes the newest undone record again, until the next edit drops what
    // was undone; `caret` gets the position after the remade text.
    bool Redo(TSonPos *caret);
    bool CanRedo() const { return !m_redo.isEmpty(); }
    int UndoCount() const { return static_cast<int>(m_undo.size()); }
    qsizetype UndoBytes() const { return m_undoBytes; }

    // Everything an edit may change, so a failing edit can be taken back whole.
    struct UndoRecord {
        TSonPos from;
        QString removed;
        QString inserted;
    };
    struct Snapshot {
        QStringList lines;
        QList<UndoRecord> undo;
        QList<UndoRecord> redo;
        qsizetype undoBytes = 0;
    };
    Snapshot Save() const;
    void Restore(const Snapshot &snapshot);

    // Called with the name of every step an edit goes through; tests make it
    // throw to see that a failure leaves the text as it was.
    void SetFaultHook(std::function<void(const char *)> hook) { m_faultHook = std::move(hook); }

private:
    // Rewrap, with any failure raised as the edit's Error:OC004.
    void RewrapAfterEdit();
    void Fault(const char *step) const;
    void Record(TSonPos from, const QString &removed, const QString &inserted);
    TSonPos ApplyReplace(TSonPos from, TSonPos to, const QString &text);

    QStringList m_lines;
    QList<TSonRow> m_rows;
    QList<int> m_firstRow;
    QList<UndoRecord> m_undo;   // newest first
    QList<UndoRecord> m_redo;   // the latest undone first
    // Both histories together: a record moves between them, it is not copied.
    qsizetype m_undoBytes = 0;
    bool m_wordWrap = true;
    int m_wrapColumn = 100;
    int m_tabWidth = 6;
    std::function<void(const char *)> m_faultHook;
};
