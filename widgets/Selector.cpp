#include "Selector.h"

#include "PictureAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

TSelector::TSelector(QWidget *parent)
    : QWidget(parent)
{
    const QPalette &pal = palette();
    m_arrowColor = pal.color(QPalette::Dark);
    m_btnColor = pal.color(QPalette::Button);
    m_cursorColor = pal.color(QPalette::Highlight);
    resize(120, 24);
    // Tab reaches it; clicking an arrow leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    InstallPictureAccessibility();
}

QString TSelector::SelectedText() const
{
    return m_itemIndex >= 0 && m_itemIndex < m_values.size() ? m_values.at(m_itemIndex) : QString();
}

void TSelector::SetArrowColor(const QColor &c)
{
    m_arrowColor = c;
    update();
}

void TSelector::SetBtnColor(const QColor &c)
{
    m_btnColor = c;
    update();
}

void TSelector::SetBtnSize(int size)
{
    m_btnSize = std::max(size, 0);
    update();
}

void TSelector::SetCursorColor(const QColor &c)
{
    m_cursorColor = c;
    if (m_selectMode == smMulti)
        update();
}

void TSelector::SetOrientation(TSelectorOrientation o)
{
    m_orientation = o;
    update();
}

void TSelector::SetSelectMode(TSelectMode m)
{
    m_selectMode = m;
    update();
}

void TSelector::SetValues(const QStringList &values)
{
    m_values = values;
    m_itemIndex = -1;
    update();
}

void TSelector::AddValue(const QString &value)
{
    m_values.append(value);
    update();
}

void TSelector::RemoveValue(int index)
{
    if (index < 0 || index >= m_values.size())
        return;
    m_values.removeAt(index);
    if (m_itemIndex >= m_values.size())
        m_itemIndex = -1;
    update();
}

void TSelector::ClearValues()
{
    m_values.clear();
    m_itemIndex = -1;
    update();
}

void TSelector::SetItemIndex(int index)
{
    if (index < -1 || index > m_values.size() - 1)
        return;
    m_itemIndex = index;
    update();
    ReportValueChange();
}

void TSelector::StepTo(int index)
{
    if (index < -1 || index > m_values.size() - 1)
        return;
    m_pressedArrow = index < m_itemIndex ? 1 : 2;
    m_itemIndex = index;
    update();
    ReportValueChange();
    Q_EMIT Click();
    m_pressedArrow = 0;
}

void TSelector::ReportValueChange()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent value(this, m_itemIndex + 1);
    QAccessible::updateAccessibility(&value);
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void TSelector::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // As the arrow buttons: round at the ends, and a click even with no items.
    const int last = static_cast<int>(m_values.size()) - 1;
    int index = m_itemIndex + step;
    if (index < 0)
        index = last;
    else if (index > last)
        index = m_values.isEmpty() ? -1 : 0;
    StepTo(index);
}

int TSelector::Length() const
{
    return m_orientation == soHorizontal ? width() : height();
}

QRect TSelector::ButtonRect(int which) const
{
    const int start = which == 1 ? 0 : Length() - m_btnSize;
    return m_orientation == soHorizontal ? QRect(start, 0, m_btnSize, height())
                                         : QRect(0, start, width(), m_btnSize);
}

QVector<QRect> TSelector::ItemRects() const
{
    QVector<QRect> rects;
    if (m_values.isEmpty())
        return rects;
    const QFontMetrics fm = fontMetrics();
    const bool horizontal = m_orientation == soHorizontal;
    int sum = 0;
    QVector<QSize> sizes;
    for (const QString &v : m_values) {
        const QSize s(fm.horizontalAdvance(v), fm.height());
        sizes.append(s);
        sum += horizontal ? s.width() : s.height();
    }
    const int count = static_cast<int>(m_values.size());
    const int gap = (Length() - 2 * m_btnSize - sum) / (count + 1);
    const int rowY = std::max((height() - fm.height()) / 2, 0);
    int at = m_btnSize + gap;
    for (const QSize &s : sizes) {
        if (horizontal) {
            rects.append(QRect(at, rowY, s.width(), s.height()));
            at += s.width() + gap;
        } else {
            rects.append(QRect(std::max((width() - s.width()) / 2, 0), at, s.width(), s.height()));
            at += s.height() + gap;
        }
    }
    return rects;
}

void TSelector::PaintText(QPainter &p, const QRect &box, const QString &text, int flags) const
{
    const QPalette &pal = palette();
    if (!isEnabled()) {
        // Engraved: a highlight one pixel right and down, the grey text on top.
        p.setPen(pal.color(QPalette::Light));
        p.drawText(box.translated(1, 1), flags, text);
        p.setPen(pal.color(QPalette::Disabled, QPalette::Text));
    } else {
        p.setPen(pal.color(QPalette::Active, QPalette::WindowText));
    }
    p.drawText(box, flags, text);
}

void TSelector::PaintButton(QPainter &p, int which) const
{
    const QPalette &pal = palette();
    const QRect r = ButtonRect(which);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r, m_btnColor);
    p.setBrush(Qt::NoBrush);
    if (m_pressedArrow == which) {
        p.setPen(pal.color(QPalette::Shadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    p.setPen(pal.color(QPalette::Midlight));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(inner.adjusted(0, 0, -1, -1));
    p.setPen(pal.color(QPalette::Shadow));
    p.drawLine(inner.topRight(), inner.bottomRight());
    p.drawLine(inner.bottomLeft(), inner.bottomRight());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(inner.topRight() + QPoint(-1, 0), inner.bottomRight() + QPoint(-1, -1));
    p.drawLine(inner.bottomLeft() + QPoint(0, -1), inner.bottomRight() + QPoint(-1, -1));
}

void TSelector::PaintArrow(QPainter &p, int which) const
{
    const bool horizontal = m_orientation == soHorizontal;
    const int c = (horizontal ? height() : width()) / 2;
    const int q = c / 2;
    const int s0 = which == 1 ? 0 : Length() - m_btnSize;
    // Along the control: flat side and tip; across it: from q+1 to c+q+1, tip at c+1.
    const int flat = which == 2 ? s0 + 4 : s0 + m_btnSize - 3;
    const int tip = which == 2 ? s0 + m_btnSize - 3 : s0 + 4;
    auto point = [horizontal](int along, int across) {
        return horizontal ? QPoint(along, across) : QPoint(across, along);
    };
    const QPolygon triangle({point(flat, q + 1), point(flat, c + q + 1), point(tip, c + 1)});
    p.setPen(Qt::NoPen);
    if (isEnabled()) {
        p.setBrush(palette().color(QPalette::Light));
        p.drawPolygon(triangle);
        p.setBrush(m_arrowColor);
        p.drawPolygon(triangle.translated(-1, -1));
    } else {
        p.setBrush(m_arrowColor);
        p.drawPolygon(triangle);
    }
}

void TSelector::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setFont(font());
    const QFontMetrics fm = fontMetrics();
    if (m_selectMode == smSingle) {
        const QString text = SelectedText();
        int x = (width() - fm.horizontalAdvance(text)) / 2;
        int y = (height() - fm.height()) / 2;
        if (m_orientation == soHorizontal)
            y = std::max(y, 0);
        else
            x = std::max(x, 0);
        PaintText(p, QRect(x, y, fm.horizontalAdvance(text) + 2, fm.height()), text,
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
    } else {
        const QVector<QRect> rects = ItemRects();
        for (int i = 0; i < rects.size(); ++i)
            PaintText(p, rects.at(i).adjusted(0, 0, 2, 0), m_values.at(i),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
        if (isEnabled() && m_itemIndex >= 0 && m_itemIndex < rects.size()) {
            const QRect r = rects.at(m_itemIndex);
            p.setPen(QPen(m_cursorColor, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(r.topLeft() - QPoint(2, 2), r.size() + QSize(4, 4)));
        }
    }
    for (int which : {1, 2}) {
        PaintButton(p, which);
        PaintArrow(p, which);
    }
    if (hasFocus()) {
        // The strip may be only 15 pixels high: the ring lies on its edge.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
        p.setPen(QPen(QColor(255, 200, 0), 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TSelector::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const int along = m_orientation == soHorizontal ? at.x() : at.y();
    m_pressedArrow = 0;
    if (along >= 0 && along <= m_btnSize)
        m_pressedArrow = 1;
    else if (along >= Length() - m_btnSize && along <= Length())
        m_pressedArrow = 2;
    m_arrowHit = m_pressedArrow != 0;
    m_leftDown = event->button() == Qt::LeftButton;

    const int before = m_itemIndex;
    if (m_selectMode == smMulti && !m_arrowHit) {
        const QVector<QRect> rects = ItemRects();
        for (int i = 0; i < rects.size(); ++i)
            if (rects.at(i).contains(at))
                m_itemIndex = i;
    }
    update();
    Q_EMIT MouseDown(event->button(), at);
    if (m_itemIndex != before) {
        m_pressedArrow = m_itemIndex > before ? 2 : 1;
        DoClick();
    }
    event->accept();
}

void TSelector::DoClick()
{
    if (m_arrowHit && !m_values.isEmpty()) {
        const int last = static_cast<int>(m_values.size()) - 1;
        if (m_pressedArrow == 1)
            m_itemIndex = m_itemIndex <= 0 ? last : m_itemIndex - 1;
        else if (m_pressedArrow == 2)
            m_itemIndex = m_itemIndex >= last ? 0 : m_itemIndex + 1;
        update();
        ReportValueChange();
    }
    if (m_pressedArrow != 0)
        Q_EMIT Click();
}

void TSelector::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT MouseMove(event->buttons(), event->position().toPoint());
    event->accept();
}

void TSelector::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // An item picked in smMulti mode already clicked on the press; only an
    // arrow press makes a click of its own at release.
    if (event->button() == Qt::LeftButton && m_leftDown && m_arrowHit && rect().contains(at))
        DoClick();
    if (event->button() == Qt::LeftButton)
        m_leftDown = false;
    m_pressedArrow = 0;
    update();
    Q_EMIT MouseUp(event->button(), at);
    event->accept();
}

void TSelector::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick double click counts as a press of its own,
    // so it steps like any click: a pupil clicking an arrow fast moves one
    // item per click instead of losing every second one.
    mousePressEvent(event);
    Q_EMIT DblClick();
    event->accept();
}
