// The drawing of the program editor, back to front: background, line
// numbers, the visible rows with their marks, then what lies on top (the
// text being composed, the caret, the drop mark of a dragged selection).

#include "SonEdit.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr char16_t kFullWidthSpace = 0x3000;

// Selected text and marks are drawn in the inverse of their own colour.
QColor Shown(const QColor &color, bool selected)
{
    return selected ? SonEditDraw::Inverse(color) : color;
}
} // namespace

void TSonEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_look.backColor);
    painter.setFont(m_look.font);
    if (m_look.showLineNumbers)
        DrawLineNumbers(painter);
    const int left = TextLeft();
    painter.setClipRect(QRect(left, 0, viewport()->width() - left, viewport()->height()));
    for (int row = FirstVisibleRow(); row < VisibleRowsEnd(); ++row)
        DrawRow(painter, row);
    DrawPreedit(painter);
    DrawCaret(painter);
    DrawDropMark(painter);
}

// Numbers stand on the first row of each line only, right-aligned 7 pixels
// before the text, with a separator line 4 pixels before it.
void TSonEdit::DrawLineNumbers(QPainter &painter) const
{
    painter.setPen(m_look.markColor);
    const int columnEnd = TextLeft() - m_look.leftMargin;
    painter.drawLine(columnEnd - 4, 0, columnEnd - 4, viewport()->height());
    for (int row = FirstVisibleRow(); row < VisibleRowsEnd(); ++row) {
        const TSonRow &r = Store().Rows().at(row);
        if (r.start != 0)
            continue;
        const QRect cell(0, RowTop(row), columnEnd - 7, RowHeight());
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, QString::number(r.line + 1));
    }
}

void TSonEdit::DrawRow(QPainter &painter, int row) const
{
    const TSonRow &r = Store().Rows().at(row);
    const QString &line = Store().Line(r.line);
    const QList<int> xs = RowXs(row);
    const int left = TextLeft() - horizontalScrollBar()->value();
    for (int i = 0; i < r.length; ++i) {
        if (line.at(r.start + i).isLowSurrogate())
            continue;
        const QRect cell(left + xs.at(i), RowTop(row), xs.at(i + 1) - xs.at(i), RowHeight());
        DrawCell(painter, {r.line, r.start + i}, cell);
    }
    DrawRowEnd(painter, row, left + xs.last());
}

void TSonEdit::DrawCell(QPainter &painter, TSonPos pos, const QRect &cell) const
{
    const QString &line = Store().Line(pos.line);
    const QChar c = line.at(pos.index);
    const bool selected = m_model.InSelection(pos);
    if (selected)
        painter.fillRect(cell, m_look.selColor);
    if (c == QChar(kFullWidthSpace)) {
        if (m_look.showFullSpaceMarks)
            SonEditDraw::FullSpaceMark(painter, cell, Shown(m_look.markColor, selected));
        return;
    }
    if (c == QLatin1Char('\t') || c.unicode() < ' ')
        return;
    painter.setPen(Shown(m_look.fontColor, selected));
    painter.drawText(cell.left(), cell.top() + QFontMetrics(m_look.font).ascent(),
                     SonEditDraw::CellText(line, pos.index));
}

// A row that ends a line gets the line-end mark, or after the last line the
// end-of-text mark; a soft-wrapped row gets neither.
void TSonEdit::DrawRowEnd(QPainter &painter, int row, int endX) const
{
    const TSonRow &r = Store().Rows().at(row);
    if (!r.endsLine)
        return;
    const QFontMetrics fm(m_look.font);
    const int top = RowTop(row);
    if (r.line < Store().LineCount() - 1) {
        const QRect cell(endX, top, fm.horizontalAdvance(QLatin1Char('W')), RowHeight());
        const bool selected = m_model.InSelection({r.line, r.start + r.length});
        if (selected)
            painter.fillRect(cell, m_look.selColor);
        if (m_look.showLineEndMarks)
            SonEditDraw::LineEndMark(painter, cell, Shown(m_look.markColor, selected));
    } else if (m_look.showEofMark) {
        painter.setPen(m_look.markColor);
        painter.drawText(endX + 2, top + fm.ascent(), QStringLiteral("[EOF]"));
    }
}

// The input method's unfinished text, underlined over the text at the caret.
void TSonEdit::DrawPreedit(QPainter &painter) const
{
    if (m_preedit.isEmpty())
        return;
    const QFontMetrics fm(m_look.font);
    const QPoint at = PointOf(Caret());
    const QRect box(at.x(), at.y(), fm.horizontalAdvance(m_preedit), RowHeight());
    painter.fillRect(box, m_look.backColor);
    painter.setPen(m_look.fontColor);
    painter.drawText(box.left(), box.top() + fm.ascent(), m_preedit);
    painter.drawLine(box.left(), box.bottom() - 1, box.right(), box.bottom() - 1);
}

// A thin bar inserts; overwrite mode shows a low block as wide as a character.
void TSonEdit::DrawCaret(QPainter &painter) const
{
    if (!hasFocus() || !m_caretOn || !m_preedit.isEmpty())
        return;
    QRect caret = CaretRect();
    if (Overwrite()) {
        caret.setTop(caret.top() + RowHeight() / 2);
        caret.setWidth(std::max(SonEditDraw::CaretWidth, QFontMetrics(m_look.font).averageCharWidth()));
    }
    painter.fillRect(caret, m_look.fontColor);
}

void TSonEdit::DrawDropMark(QPainter &painter) const
{
    if (!m_dragging)
        return;
    const QPoint at = PointOf(m_dropPos);
    painter.fillRect(QRect(at.x(), at.y(), 1, RowHeight()), m_look.fontColor);
}
