#include "TransferProgressBar.h"

#include <QPainter>
#include <algorithm>

TTransferProgressBar::TTransferProgressBar(QWidget *parent, const QString &objectName)
    : QWidget(parent)
{
    setObjectName(objectName);
}

void TTransferProgressBar::SetPosition(int position)
{
    position = std::clamp(position, 0, 100);
    if (position == m_position)
        return;
    m_position = position;
    update();
}

QColor TTransferProgressBar::SegmentColour(int segment)
{
    if (segment <= 20)
        return QColor(0, 255, 255);
    if (segment <= 40)
        return QColor(255, 0, 0);
    if (segment <= 60)
        return QColor(255, 255, 0);
    if (segment <= 80)
        return QColor(0, 255, 0);
    return QColor(255, 0, 255);
}

void TTransferProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 128, 128));
    // Segments share the inner width evenly, a one-pixel gap after each.
    const int inner = width() - 2;
    const int top = 1;
    const int height = this->height() - 2;
    for (int segment = 0; segment < m_position; ++segment) {
        const int left = 1 + segment * (inner + 1) / 100;
        const int right = 1 + (segment + 1) * (inner + 1) / 100 - 1; // exclusive, gap before it
        painter.fillRect(left, top, std::max(1, right - left), height, SegmentColour(segment));
    }
}
