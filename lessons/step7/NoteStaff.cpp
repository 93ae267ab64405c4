#include "NoteStaff.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TNoteStaff::TNoteStaff(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("RichEdit1"));
    resize(PerLine * GlyphWidth + 2, 3 * LineHeight);
    setFocusPolicy(Qt::NoFocus);
}

void TNoteStaff::SetNoteFont(const QFont &font)
{
    setFont(font);
}

void TNoteStaff::SetText(const QString &text)
{
    m_text = text;
    update();
}

void TNoteStaff::SetCaret(int position)
{
    m_caret = std::clamp(position, 0, Positions);
    update();
}

QPoint TNoteStaff::CellOrigin(int index)
{
    // The caret after the last position stays on the third line.
    const int line = std::min(index / PerLine, 2);
    return QPoint((index - line * PerLine) * GlyphWidth, line * LineHeight);
}

int TNoteStaff::PositionAt(QPoint point)
{
    const int line = std::clamp(point.y() / LineHeight, 0, 2);
    const int lastColumn = line < 2 ? PerLine : Positions - 2 * PerLine;
    const int column = std::clamp((point.x() + GlyphWidth / 2) / GlyphWidth, 0, lastColumn);
    return line * PerLine + column;
}

void TNoteStaff::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    painter.setPen(Qt::black);
    for (int i = 0; i < m_text.size() && i < Positions; ++i) {
        const QPoint at = CellOrigin(i);
        painter.drawText(QRect(at, QSize(GlyphWidth, 49)), Qt::AlignLeft | Qt::AlignTop, QString(m_text.at(i)));
    }
    const QPoint caret = CellOrigin(m_caret);
    painter.drawLine(caret.x(), caret.y() + 4, caret.x(), caret.y() + 45);
}

void TNoteStaff::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    SetCaret(PositionAt(event->position().toPoint()));
    Q_EMIT Clicked(m_caret);
}
