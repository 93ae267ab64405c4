#pragma once

class QClipboard;
class QPainter;

#include "SonEditModel.h"
#include "SonEditSub.h"

#include <QAbstractScrollArea>
#include <QTimer>

#include <functional>

// The program text editor: plain text mixing single- and double-byte
// characters, line numbers, visible line ends and full-width spaces, soft
// wrap at a byte column, and an event for every edit the user makes.
// The text, caret and every edit live in TSonEditModel; a key press is looked
// up in SonEditKeys and runs the named command there. This window draws,
// scrolls, reaches the clipboard and reports failures.
class TSonEdit : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSonEdit(QWidget *parent = nullptr, const QString &objectName = QString());

    // Text in and out; neither raises Change.
    QString GetText() const { return m_model.Store().Text(); }
    void SetText(const QString &text);
    void Clear();

    // Caret and selection.
    TSonPos Caret() const { return m_model.Caret(); }
    TSonPos Anchor() const { return m_model.Anchor(); }
    void SetCaret(TSonPos pos, bool keepAnchor = false);
    bool HasSelection() const { return m_model.HasSelection(); }
    QString SelectedText() const { return m_model.SelectedText(); }
    void SelectAll();
    bool Overwrite() const { return m_model.Overwrite(); }
    bool ReadOnly() const { return m_model.ReadOnly(); }
    // The text place nearest to a viewport point.
    TSonPos PositionAt(const QPoint &point) const { return PosAtPoint(point); }
    // Replaces the stretch between two places by `text` as one user edit
    // (assistive technology edits through it).
    void ReplaceText(TSonPos from, TSonPos to, const QString &text);

    // Edits the user asks for by menu or key.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();

    // Appearance; call ReLayout after changing font or colours.
    const TSonEditLook &Look() const { return m_look; }
    void SetBackColor(const QColor &color) { m_look.backColor = color; }
    void SetFontColor(const QColor &color) { m_look.fontColor = color; }
    void SetSelColor(const QColor &color) { m_look.selColor = color; }
    void SetMarkColor(const QColor &color) { m_look.markColor = color; }
    void SetEditFont(const QFont &font) { m_look.font = font; }
    void SetShowLineNumbers(bool on, int digits = 3);
    void SetTopMargin(int pixels);
    void SetLeftMargin(int pixels);
    void SetShowLineEndMarks(bool on) { m_look.showLineEndMarks = on; viewport()->update(); }
    void SetShowEofMark(bool on) { m_look.showEofMark = on; viewport()->update(); }
    void SetShowFullSpaceMarks(bool on) { m_look.showFullSpaceMarks = on; viewport()->update(); }
    void SetAcceptTabs(bool on) { m_model.SetAcceptTabs(on); }
    void SetReadOnly(bool on) { m_model.SetReadOnly(on); }
    void SetWordWrap(bool on, int column = 100);
    void SetTabWidth(int width);
    // Wraps the rows again and redraws with the current look, keeping the
    // caret and the vertical scroll position.
    void ReLayout();

    const TSonStrings &Store() const { return m_model.Store(); }
    int RowHeight() const;
    int TextLeft() const;
    // The rectangle of the caret in viewport coordinates.
    QRect CaretRect() const;
    // Viewport point of a text position (top-left of its cell).
    QPoint PointOf(TSonPos pos) const;

    // Test access to the failure paths: called with each step's name.
    void SetFaultHook(std::function<void(const char *)> hook);

Q_SIGNALS:
    void Change();
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void InsertModeChanged(bool overwrite);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Runs one editing step; a failure is shown with its code and the text
    // is left as it was before the step.
    bool RunStep(const std::function<void()> &step);
    // Runs a change of the model as one step and shows what it did.
    void Apply(const std::function<TSonEditResult()> &change);
    void RunCommand(TSonEditCommand command, const QKeyEvent &event);
    // Replaces the selection (or nothing) by `text` as one user edit.
    void ReplaceSelection(const QString &text);
    void MoveCaret(TSonPos pos, bool keepAnchor);
    // After the caret moved: keeps it in view, lit, and known to the input method.
    void ShowCaret();
    void EnsureCaretVisible();
    void UpdateScrollBars();
    void Fault(const char *step) const;
    // The system clipboard; raises Error:OC003 when there is none.
    QClipboard *Clipboard() const;
    QList<int> RowXs(int row) const;
    int RowWidth(int row) const;
    int FirstVisibleRow() const;
    int VisibleRows() const;
    int VisibleRowsEnd() const;
    int RowTop(int row) const;
    TSonPos PosAtPoint(const QPoint &point) const;

    // Drawing steps of paintEvent, back to front.
    void DrawLineNumbers(QPainter &painter) const;
    void DrawRow(QPainter &painter, int row) const;
    void DrawCell(QPainter &painter, TSonPos pos, const QRect &cell) const;
    void DrawRowEnd(QPainter &painter, int row, int endX) const;
    void DrawPreedit(QPainter &painter) const;
    void DrawCaret(QPainter &painter) const;
    void DrawDropMark(QPainter &painter) const;

    TSonEditModel m_model;
    TSonEditLook m_look;
    QString m_preedit;
    bool m_caretOn = true;
    QTimer m_blink;
    // Mouse: selecting, or dragging the selection to move it.
    bool m_selecting = false;
    bool m_dragArmed = false;
    bool m_dragging = false;
    QPoint m_pressPoint;
    TSonPos m_dropPos;
    std::function<void(const char *)> m_faultHook;
};
