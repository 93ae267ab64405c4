#include "SonEditSub.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>

namespace SonEditDraw {

QString CellText(const QString &line, int index)
{
    if (line.at(index).isHighSurrogate() && index + 1 < line.size())
        return line.mid(index, 2);
    return QString(line.at(index));
}

QColor Inverse(const QColor &color)
{
    return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

void LineEndMark(QPainter &painter, const QRect &cell, const QColor &color)
{
    const int w = std::max(5, std::min(cell.width(), cell.height() / 2));
    const int cx = cell.left() + w / 2 + 1;
    const int top = cell.top() + cell.height() / 4;
    const int bottom = cell.bottom() - cell.height() / 5;
    painter.save();
    painter.setPen(QPen(color, 1));
    painter.drawLine(cx, top, cx, bottom);
    const int head = std::max(2, w / 2 - 1);
    painter.drawLine(cx - head, bottom - head, cx, bottom);
    painter.drawLine(cx + head, bottom - head, cx, bottom);
    painter.restore();
}

void FullSpaceMark(QPainter &painter, const QRect &cell, const QColor &color)
{
    painter.save();
    QPen pen(color, 1, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(3, 2, -4, -3));
    painter.restore();
}

int LineNumberWidth(int digitWidth, int digits)
{
    return 7 + std::min(100, digitWidth * digits);
}

} // namespace SonEditDraw
