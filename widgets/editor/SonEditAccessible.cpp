#include "SonEditAccessible.h"

#include "SonEdit.h"
#include "SonEditText.h"

#include <QFontMetrics>

namespace {

QAccessibleInterface *Factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TSonEdit") && object && object->isWidgetType())
        if (auto *edit = qobject_cast<TSonEdit *>(object))
            return new TSonEditAccessible(edit);
    return nullptr;
}

SonEditText::Unit UnitOf(QAccessible::TextBoundaryType type)
{
    switch (type) {
    case QAccessible::CharBoundary: return SonEditText::Unit::Character;
    case QAccessible::WordBoundary: return SonEditText::Unit::Word;
    case QAccessible::SentenceBoundary: return SonEditText::Unit::Sentence;
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: return SonEditText::Unit::Line;
    case QAccessible::NoBoundary: break;
    }
    return SonEditText::Unit::All;
}

QString Piece(const QString &text, std::pair<int, int> stretch, int *startOffset, int *endOffset)
{
    *startOffset = stretch.first;
    *endOffset = stretch.second;
    return text.mid(stretch.first, stretch.second - stretch.first);
}

} // namespace

TSonEditAccessible::TSonEditAccessible(TSonEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
}

void TSonEditAccessible::Install(TSonEdit *edit)
{
    // The factory list is Qt's own; a second entry would only be asked in vain.
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
    // Qt may have made the plain scroll area's interface while the editor's
    // base part was being built; it would stay cached in place of this one.
    QAccessibleInterface *early = QAccessible::queryAccessibleInterface(edit);
    if (early && early->role() != QAccessible::EditableText)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
}

TSonEdit *TSonEditAccessible::Edit() const
{
    return static_cast<TSonEdit *>(widget());
}

QString TSonEditAccessible::Flat() const
{
    return SonEditText::Flat(Edit()->Store());
}

QAccessible::State TSonEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !Edit()->ReadOnly();
    s.readOnly = Edit()->ReadOnly();
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

void *TSonEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TSonEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !Edit()->HasSelection())
        return;
    const int caret = SonEditText::OffsetOf(Edit()->Store(), Edit()->Caret());
    const int anchor = SonEditText::OffsetOf(Edit()->Store(), Edit()->Anchor());
    *startOffset = std::min(caret, anchor);
    *endOffset = std::max(caret, anchor);
}

int TSonEditAccessible::selectionCount() const
{
    return Edit()->HasSelection() ? 1 : 0;
}

void TSonEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TSonEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        Edit()->SetCaret(Edit()->Caret());
}

void TSonEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    Edit()->SetCaret(SonEditText::PosOf(Edit()->Store(), startOffset));
    Edit()->SetCaret(SonEditText::PosOf(Edit()->Store(), endOffset), true);
}

int TSonEditAccessible::cursorPosition() const
{
    return SonEditText::OffsetOf(Edit()->Store(), Edit()->Caret());
}

void TSonEditAccessible::setCursorPosition(int position)
{
    Edit()->SetCaret(SonEditText::PosOf(Edit()->Store(), position));
}

QString TSonEditAccessible::text(int startOffset, int endOffset) const
{
    const QString flat = Flat();
    if (startOffset < 0 || endOffset < startOffset)
        return QString();
    return flat.mid(startOffset, endOffset - startOffset);
}

QString TSonEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                         int *endOffset) const
{
    const QString flat = Flat();
    if (offset == -2)
        offset = cursorPosition();
    return Piece(flat, SonEditText::StretchAt(flat, offset, UnitOf(boundaryType)), startOffset, endOffset);
}

QString TSonEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    const QString flat = Flat();
    if (offset == -2)
        offset = cursorPosition();
    const auto at = SonEditText::StretchAt(flat, offset, UnitOf(boundaryType));
    if (at.first <= 0) {
        *startOffset = *endOffset = 0;
        return QString();
    }
    return Piece(flat, SonEditText::StretchAt(flat, at.first - 1, UnitOf(boundaryType)), startOffset, endOffset);
}

QString TSonEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    const QString flat = Flat();
    if (offset == -2)
        offset = cursorPosition();
    const auto at = SonEditText::StretchAt(flat, offset, UnitOf(boundaryType));
    if (at.second >= flat.size()) {
        *startOffset = *endOffset = static_cast<int>(flat.size());
        return QString();
    }
    return Piece(flat, SonEditText::StretchAt(flat, at.second, UnitOf(boundaryType)), startOffset, endOffset);
}

int TSonEditAccessible::characterCount() const
{
    return static_cast<int>(Flat().size());
}

QRect TSonEditAccessible::characterRect(int offset) const
{
    const TSonStrings &store = Edit()->Store();
    const TSonPos pos = SonEditText::PosOf(store, offset);
    const QPoint at = Edit()->PointOf(pos);
    const QString &line = store.Line(pos.line);
    const QFontMetrics metrics(Edit()->Look().font);
    const int width = pos.index < line.size() ? metrics.horizontalAdvance(line.mid(pos.index, 1))
                                               : metrics.averageCharWidth();
    const QRect local(at, QSize(std::max(1, width), Edit()->RowHeight()));
    return local.translated(Edit()->viewport()->mapToGlobal(QPoint(0, 0)));
}

int TSonEditAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = Edit()->viewport()->mapFromGlobal(point);
    if (!Edit()->viewport()->rect().contains(local))
        return -1;
    return SonEditText::OffsetOf(Edit()->Store(), Edit()->PositionAt(local));
}

void TSonEditAccessible::scrollToSubstring(int, int)
{
    // The view follows the caret; reading a stretch does not move it.
}

QString TSonEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}

void TSonEditAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TSonEditAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TSonEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    const TSonStrings &store = Edit()->Store();
    Edit()->ReplaceText(SonEditText::PosOf(store, startOffset), SonEditText::PosOf(store, endOffset), text);
}

namespace SonEditAccess {

QString TextBefore(const TSonEdit *edit)
{
    return QAccessible::isActive() ? SonEditText::Flat(edit->Store()) : QString();
}

void TextChanged(TSonEdit *edit, const QString &flatBefore)
{
    if (!QAccessible::isActive())
        return;
    const SonEditText::Edit change = SonEditText::Difference(flatBefore, SonEditText::Flat(edit->Store()));
    if (change.removed.isEmpty() && change.inserted.isEmpty())
        return;
    QAccessibleTextUpdateEvent event(edit, change.start, change.removed, change.inserted);
    QAccessible::updateAccessibility(&event);
}

void CaretMoved(TSonEdit *edit)
{
    if (!QAccessible::isActive())
        return;
    const TSonStrings &store = edit->Store();
    const int caret = SonEditText::OffsetOf(store, edit->Caret());
    if (edit->HasSelection()) {
        const int anchor = SonEditText::OffsetOf(store, edit->Anchor());
        QAccessibleTextSelectionEvent selection(edit, std::min(caret, anchor), std::max(caret, anchor));
        selection.setCursorPosition(caret);
        QAccessible::updateAccessibility(&selection);
    }
    QAccessibleTextCursorEvent event(edit, caret);
    QAccessible::updateAccessibility(&event);
}

} // namespace SonEditAccess
