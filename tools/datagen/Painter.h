#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Drawing helpers of the data generator: one friendly look for every picture.
namespace Art {

QImage Canvas(int w, int h, const QColor &fill = Qt::white);
// A rounded button with a caption, in the given hue.
QImage Button(int w, int h, const QString &caption, const QColor &hue);
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
QImage TrafficSignal(int w, int h, int lit); // 0 blue, 1 yellow, 2 red
QImage RoadScene(int w, int h);
QColor Hue(int i);

bool Save(const QImage &image, const QString &path); // .bmp as 24-bit, .jpg at high quality

} // namespace Art
