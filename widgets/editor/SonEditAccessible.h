#pragma once

#include <QAccessibleWidget>

class QString;
class TSonEdit;

// What assistive technology sees of the program editor: an editable,
// multi-line text with its caret and selection, read and changed through
// the editor itself so every change is an ordinary edit (undo, Change).
class TSonEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TSonEditAccessible(TSonEdit *edit);

    // Makes `edit` and every TSonEdit after it answer with this interface.
    static void Install(TSonEdit *edit);

    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

    using QAccessibleWidget::text;

private:
    TSonEdit *Edit() const;
    QString Flat() const;
};

// The editor's reports to assistive technology, each after the change it
// tells of; nothing is worked out while no assistive technology listens.
namespace SonEditAccess {
// The text before a change, as TextChanged needs it (empty while nobody listens).
QString TextBefore(const TSonEdit *edit);
void TextChanged(TSonEdit *edit, const QString &flatBefore);
void CaretMoved(TSonEdit *edit);
} // namespace SonEditAccess
