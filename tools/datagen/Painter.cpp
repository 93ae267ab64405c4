#include "Painter.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace Art {

namespace {

QFont CaptionFont(int pixelHeight, bool bold = true)
{
    QFont f(QStringLiteral("Noto Sans CJK JP"));
    f.setPixelSize(std::max(8, pixelHeight));
    f.setBold(bold);
    return f;
}

QStringList g_crowded;

// The caption keeps the lines it is written in: a Japanese phrase broken in
// the middle reads badly, so a long line is drawn smaller instead.
void FitText(QPainter &p, const QRectF &r, const QString &text, int maxPixel, const QColor &colour, bool bold = true)
{
    int px = maxPixel;
    QFont f = CaptionFont(px, bold);
    bool fits = false;
    while (!fits && px >= 8) {
        f = CaptionFont(px, bold);
        const QRectF need = QFontMetricsF(f).boundingRect(r, Qt::AlignCenter, text);
        fits = need.width() <= r.width() && need.height() <= r.height();
        if (!fits)
            --px;
    }
    if (!fits) {
        g_crowded << text;
        f = CaptionFont(8, bold);
    }
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

int g_scale = 1;

} // namespace

void SetScale(int scale)
{
    g_scale = scale;
}

int Scale()
{
    return g_scale;
}

QStringList CrowdedCaptions()
{
    return g_crowded;
}

void Caption(QPainter &p, const QRectF &r, const QString &text, int maxPixel, const QColor &colour)
{
    p.setRenderHint(QPainter::Antialiasing);
    FitText(p, r, text, maxPixel, colour);
}

QColor Hue(int i)
{
    static const QColor hues[] = {QColor(52, 120, 220), QColor(240, 120, 40), QColor(40, 170, 90),
                                  QColor(200, 60, 120), QColor(120, 80, 200), QColor(20, 160, 180),
                                  QColor(210, 170, 20), QColor(90, 110, 130)};
    return hues[((i % 8) + 8) % 8];
}

QImage Canvas(int w, int h, const QColor &fill)
{
    // Drawn in the logical size; the pixels are `Scale()` times as many.
    QImage img(w * g_scale, h * g_scale, QImage::Format_RGB32);
    img.setDevicePixelRatio(g_scale);
    img.fill(fill);
    return img;
}

QImage Cut(const QImage &picture, const QRect &logical)
{
    const int s = g_scale;
    QImage part = picture.copy(QRect(logical.topLeft() * s, logical.size() * s));
    part.setDevicePixelRatio(s);
    return part;
}

QImage Button(int w, int h, const QString &caption, const QColor &hue, const QImage &backdrop)
{
    // A JPEG has no transparency: the corners show what lies under the button.
    QImage img = backdrop.isNull() ? Canvas(w, h, Qt::white) : backdrop;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1.5, 1.5, w - 3, h - 3);
    const qreal radius = std::min(w, h) * 0.22;
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, hue.lighter(150));
    g.setColorAt(0.5, hue);
    g.setColorAt(1, hue.darker(130));
    p.setBrush(g);
    p.setPen(QPen(hue.darker(170), 2));
    p.drawRoundedRect(r, radius, radius);
    // gloss
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(QRectF(4, 3, w - 8, h * 0.42), radius * 0.8, radius * 0.8);
    // A title strip has no room to spare above and below its words.
    const qreal pad = h < 30 ? 0 : 2;
    FitText(p, r.adjusted(4, pad, -4, -pad), caption, std::max(10, h * 2 / 5), Qt::white);
    return img;
}

QImage Panel(int w, int h, const QString &caption, const QColor &hue)
{
    QImage img = Canvas(w, h, QColor(250, 252, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, hue.lighter(185));
    g.setColorAt(1, QColor(255, 255, 255));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(hue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);
    if (!caption.isEmpty())
        FitText(p, h < 30 ? QRectF(6, 1, w - 12, h - 2) : QRectF(6, 4, w - 12, h - 8), caption,
                std::min(28, std::max(10, h / 2)), hue.darker(160));
    return img;
}

QImage LedChip(int size, const QColor &colour, const QString &mark)
{
    QImage img = Canvas(size, size, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(size * 0.1, size * 0.1, size * 0.8, size * 0.8);
    QRadialGradient g(r.center() - QPointF(size * 0.12, size * 0.12), size * 0.5);
    g.setColorAt(0, colour.lighter(160));
    g.setColorAt(0.6, colour);
    g.setColorAt(1, colour.darker(150));
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.drawEllipse(r);
    if (!mark.isEmpty())
        FitText(p, r, mark, size / 3, colour.lightness() > 150 ? QColor(60, 60, 60) : Qt::white);
    return img;
}

QImage Block(int size, const QString &caption, const QColor &hue)
{
    QImage img = Canvas(size, size, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(hue.lighter(170));
    p.setPen(QPen(hue.darker(140), 2));
    p.drawRoundedRect(QRectF(3, 3, size - 6, size - 6), 8, 8);
    FitText(p, QRectF(5, 5, size - 10, size - 10), caption, size / 3, hue.darker(200));
    return img;
}

QImage Lamp(const QColor &lit, int waitPhase)
{
    QImage img = Canvas(220, 200, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Base: a board with the dome in the middle; identical in every picture.
    p.setBrush(QColor(70, 110, 90));
    p.setPen(QPen(QColor(40, 70, 55), 2));
    p.drawRoundedRect(QRectF(30, 130, 160, 50), 10, 10);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(95, 112, 30, 22));
    const QRectF dome(60, 20, 100, 100);
    if (lit.isValid()) {
        QRadialGradient glow(dome.center(), 95);
        QColor halo = lit;
        halo.setAlpha(150);
        glow.setColorAt(0, halo);
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(dome.adjusted(-45, -15, 45, 45));
        QRadialGradient core(dome.center() - QPointF(15, 15), 70);
        core.setColorAt(0, lit.lighter(180));
        core.setColorAt(0.5, lit);
        core.setColorAt(1, lit.darker(140));
        p.setBrush(core);
    } else {
        QRadialGradient core(dome.center() - QPointF(15, 15), 70);
        core.setColorAt(0, QColor(250, 250, 250));
        core.setColorAt(1, QColor(170, 175, 180));
        p.setBrush(core);
    }
    p.setPen(QPen(QColor(110, 110, 110), 2));
    p.drawEllipse(dome);
    // the input lead
    p.setPen(QPen(QColor(200, 60, 40), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath lead;
    lead.moveTo(180, 160);
    lead.cubicTo(205, 160, 205, 130, waitPhase == 2 ? 196 : 212, 110);
    p.drawPath(lead);
    if (waitPhase > 0) {
        p.setBrush(QColor(255, 220, 60));
        p.setPen(QPen(QColor(160, 120, 0), 2));
        p.drawEllipse(QPointF(waitPhase == 2 ? 196 : 212, 106), 7, 7);
        FitText(p, QRectF(10, 2, 200, 22), waitPhase == 1 ? QStringLiteral("入力待ち…") : QStringLiteral("入力待ち　…"),
                16, QColor(60, 60, 60));
    }
    return img;
}

QImage Key(int w, int h, bool black, const QColor &top, const QString &label)
{
    QImage img = Canvas(w, h, black ? QColor(30, 30, 30) : Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(black ? QColor(35, 35, 40) : QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(0.5, -4, w - 1, h + 3.5), 4, 4);
    if (top.isValid()) {
        p.setBrush(top);
        p.setPen(QPen(top.darker(150), 1));
        p.drawRoundedRect(QRectF(4, h * 0.55, w - 8, h * 0.3), 4, 4);
    }
    if (!label.isEmpty())
        FitText(p, QRectF(1, h - (black ? 26 : 28), w - 2, 24), label, black ? 11 : 13,
                black ? Qt::white : QColor(40, 40, 40));
    return img;
}

QImage Background(int w, int h, int variant)
{
    const QColor a = Hue(variant).lighter(160 + (variant % 3) * 10);
    const QColor b = Hue(variant + 3).lighter(175);
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        const qreal x = std::fmod((i * 137.0 + variant * 61.0), w);
        const qreal y = std::fmod((i * 89.0 + variant * 43.0), h);
        const qreal r = (12 + (i * 7 + variant * 5) % 40) * w / 780.0;
        p.setBrush(QColor(255, 255, 255, 60));
        if (variant % 2)
            p.drawEllipse(QPointF(x, y), r, r);
        else
            p.drawRoundedRect(QRectF(x, y, r * 1.6, r * 1.6), r * 0.3, r * 0.3);
    }
    return img;
}

QImage Title(int w, int h, int step, const QString &name)
{
    QImage img = Canvas(w, h, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor hue = Hue(step);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, hue);
    g.setColorAt(1, hue.lighter(170));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, w, h), h / 2.0, h / 2.0);
    p.setFont(CaptionFont(h * 2 / 3));
    p.setPen(Qt::white);
    p.drawText(QRectF(14, 0, w - 20, h), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("STEP%1　%2").arg(step).arg(name));
    return img;
}

QImage TrafficSignal(int w, int h, int lit, const QImage &backdrop)
{
    QImage img = backdrop.isNull() ? Canvas(w, h, Qt::white) : backdrop;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(50, 55, 60));
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), h / 2.5, h / 2.5);
    const QColor on[] = {QColor(0, 190, 255), QColor(255, 210, 0), QColor(255, 40, 40)};
    const qreal d = h * 0.7;
    for (int i = 0; i < 3; ++i) {
        const QColor c = i == lit ? on[i] : on[i].darker(400);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(w * (i + 0.5) / 3 - d / 2, (h - d) / 2, d, d));
    }
    return img;
}

QImage RoadScene(int w, int h)
{
    QImage img = Canvas(w, h, QColor(150, 210, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h * 0.45);
    sky.setColorAt(0, QColor(120, 190, 250));
    sky.setColorAt(1, QColor(205, 235, 255));
    p.fillRect(QRectF(0, 0, w, h * 0.45), sky);
    p.fillRect(QRectF(0, h * 0.45, w, h * 0.55), QColor(120, 190, 100));
    // a road narrowing towards the horizon, from bottom-left up to the right
    QPainterPath road;
    road.moveTo(80, h);
    road.lineTo(330, h * 0.45);
    road.lineTo(420, h * 0.45);
    road.lineTo(w - 20, h);
    road.closeSubpath();
    p.setBrush(QColor(90, 90, 95));
    p.setPen(Qt::NoPen);
    p.drawPath(road);
    p.setPen(QPen(Qt::white, 3, Qt::DashLine));
    p.drawLine(QPointF((80 + w - 20) / 2.0, h), QPointF(375, h * 0.45));
    // the crossing
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    for (int i = 0; i < 8; ++i)
        p.drawRect(QRectF(170 + i * 34, 222, 20, 14));
    // houses and a pole for the signal
    p.setBrush(QColor(240, 200, 150));
    p.drawRect(QRectF(30, 95, 70, 55));
    p.setBrush(QColor(200, 80, 60));
    QPolygonF roof;
    roof << QPointF(22, 95) << QPointF(65, 60) << QPointF(108, 95);
    p.drawPolygon(roof);
    p.setBrush(QColor(220, 220, 235));
    p.drawRect(QRectF(455, 70, 60, 80));
    p.setBrush(QColor(80, 80, 80));
    p.drawRect(QRectF(268, 200, 6, 100));
    return img;
}

bool Save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
        return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    return image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", 92);
}

} // namespace Art
