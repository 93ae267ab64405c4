#include "PiecedPicture.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTransform>
#include <algorithm>

namespace {

// Whether a pixel of `square` in `picture` (RGB32 or ARGB32) shows.
bool ShowsSomething(const QImage &picture, const QRect &square, QRgb seeThrough, const QRegion &covered)
{
    for (int y = square.top(); y <= square.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = square.left(); x <= square.right(); ++x) {
            if (line[x] != seeThrough && !covered.contains(QPoint(x, y)))
                return true;
        }
    }
    return false;
}

QImage SeeThroughCut(const QImage &picture, const QRect &run, QRgb seeThrough)
{
    QImage cut = picture.copy(run).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < cut.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(cut.scanLine(y));
        std::replace(line, line + cut.width(), seeThrough, QRgb{0});
    }
    return cut;
}

} // namespace

std::vector<TPiecedPicture::TPiece> TPiecedPicture::Pieces(const QImage &picture, QRgb seeThrough, const QRegion &covered)
{
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<TPiece> pieces;
    for (int top = 0; top < rgb.height(); top += Square) {
        const int height = std::min(Square, rgb.height() - top);
        int runStart = -1;
        // One step past the last square closes a run that reaches the edge.
        for (int left = 0; left < rgb.width() + Square; left += Square) {
            const QRect square(left, top, std::min(Square, rgb.width() - left), height);
            const bool shows = left < rgb.width()
                && !(QRegion(square) - covered).isEmpty() && ShowsSomething(rgb, square, seeThrough, covered);
            if (shows && runStart < 0)
                runStart = left;
            if (!shows && runStart >= 0) {
                const QRect run(runStart, top, std::min(left, rgb.width()) - runStart, height);
                pieces.push_back({run, SeeThroughCut(rgb, run, seeThrough)});
                runStart = -1;
            }
        }
    }
    return pieces;
}

TPiecedPicture::TPiecedPicture(QWidget *parent, const QString &objectName)
    : QWidget(parent)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPiecedPicture::SetPicture(const QImage &picture, QRgb seeThrough, const QRegion &covered)
{
    const qreal ratio = picture.devicePixelRatio();
    m_pieces.clear();
    for (TPiece &piece : Pieces(picture, seeThrough, QTransform::fromScale(ratio, ratio).map(covered))) {
        const QRectF at(piece.at.topLeft() / ratio, piece.at.size() / ratio);
        QPixmap shown = QPixmap::fromImage(std::move(piece.picture));
        shown.setDevicePixelRatio(ratio);
        m_pieces.push_back({at.toAlignedRect(), std::move(shown)});
    }
    update();
}

void TPiecedPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const TShownPiece &piece : m_pieces) {
        if (event->region().intersects(piece.at))
            painter.drawPixmap(piece.at.topLeft(), piece.picture);
    }
}
