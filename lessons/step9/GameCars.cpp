#include "GameCars.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Car(const QColor &body, qreal scale, bool crashed)
{
    QPixmap pixmap(101, 54);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(50.5, 54);
    p.scale(scale, scale);
    p.translate(-50.5, -54);
    if (crashed) {
        // A burst behind a dented car.
        QPainterPath star;
        for (int i = 0; i < 16; ++i) {
            const qreal r = i % 2 ? 14 : 26;
            const qreal a = i * 3.14159 / 8;
            const QPointF pt(50 + r * std::cos(a), 24 + r * std::sin(a) * 0.8);
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        p.setBrush(QColor(255, 200, 0));
        p.setPen(QPen(QColor(230, 60, 0), 2));
        p.drawPath(star);
    }
    // Body seen from the front: roof, windscreen, bumper, lights, wheels.
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(12, 22, 77, 24), 6, 6);
    p.drawRoundedRect(QRectF(24, 6, 53, 22), 7, 7);
    p.setBrush(QColor(170, 215, 255));
    p.drawRoundedRect(QRectF(29, 10, 43, 13), 3, 3);
    p.setBrush(QColor(255, 245, 170));
    p.drawEllipse(QRectF(16, 28, 12, 9));
    p.drawEllipse(QRectF(73, 28, 12, 9));
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(34, 38, 33, 5));
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(14, 44, 16, 9), 3, 3);
    p.drawRoundedRect(QRectF(71, 44, 16, 9), 3, 3);
    if (crashed) {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawLine(QPointF(30, 12), QPointF(45, 22));
        p.drawLine(QPointF(45, 22), QPointF(38, 26));
    }
    return pixmap;
}

} // namespace

std::array<QPixmap, 5> MakeGameCars()
{
    const QColor red(220, 50, 50);
    return {
        Car(red, 0.85, false), // 0: close, also the passing car
        Car(red, 1.0, false),  // 1: closest
        Car(red, 1.0, true),   // 2: crash
        Car(red, 0.55, false), // 3: far
        Car(red, 0.7, false),  // 4: nearer
    };
}
