#pragma once

#include <QColor>
#include <QPainter>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

// Drawing helpers of the data generator: one friendly look for every picture.
namespace Art {

// Every picture is drawn in its logical size (the size it is shown at); the
// scale multiplies its pixels, so the same drawing gives the 1x and 2x files.
void SetScale(int scale);
int Scale();

QImage Canvas(int w, int h, const QColor &fill = Qt::white);
// The part of a picture under a control placed at `logical` on it.
QImage Cut(const QImage &picture, const QRect &logical);
// A rounded button with a caption, in the given hue; its corners show
// `backdrop` (the panel it sits on, cut to the button's place) or white.
QImage Button(int w, int h, const QString &caption, const QColor &hue, const QImage &backdrop = QImage());
// A flat panel with a title band and optional caption.
QImage Panel(int w, int h, const QString &caption, const QColor &hue);
// A round LED chip on pure white.
QImage LedChip(int size, const QColor &colour, const QString &mark = QString());
// A block for a command that is not a colour, on pure white.
QImage Block(int size, const QString &caption, const QColor &hue);
// The lamp (220 x 200): `lit` is the LED's colour, or invalid for unlit.
QImage Lamp(const QColor &lit, int waitPhase = 0);
// A keyboard key; `top` colours the key face, `label` is its note name.
QImage Key(int w, int h, bool black, const QColor &top, const QString &label);
QImage Background(int w, int h, int variant);
QImage Title(int w, int h, int step, const QString &name);
QImage TrafficSignal(int w, int h, int lit, const QImage &backdrop = QImage()); // 0 blue, 1 yellow, 2 red
QImage RoadScene(int w, int h);
QColor Hue(int i);
// The captions that did not fit their place even at the smallest size.
QStringList CrowdedCaptions();
// Bold text centred in `r`, in its own lines, as large as fits up to `maxPixel`.
void Caption(QPainter &p, const QRectF &r, const QString &text, int maxPixel, const QColor &colour);

bool Save(const QImage &image, const QString &path); // .bmp as 24-bit, .jpg at high quality

} // namespace Art
