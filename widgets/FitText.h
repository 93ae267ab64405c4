#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// `font` made small enough that `text`, wrapped at `box`'s width, fits its
// height: the largest pixel size from the font's own down to `smallest`
// (`smallest` when even that does not fit). For the few places where a
// message must be read whole in a fixed space.
QFont FontToFit(const QFont &font, const QString &text, const QSize &box, int smallest = 8);
