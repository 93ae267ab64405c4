#include "SeeThroughFrame.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

bool ShowsSomething(const QImage &picture, const QRect &square)
{
    for (int y = square.top(); y <= square.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        if (std::any_of(line + square.left(), line + square.right() + 1, [](QRgb pixel) { return qAlpha(pixel) != 0; }))
            return true;
    }
    return false;
}

} // namespace

std::vector<TSeeThroughFrame::TPiece> TSeeThroughFrame::Pieces(const QImage &picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<TPiece> pieces;
    for (int top = 0; top < argb.height(); top += Square) {
        const int height = std::min(Square, argb.height() - top);
        int runStart = -1;
        // One step past the last square closes a run that reaches the edge.
        for (int left = 0; left < argb.width() + Square; left += Square) {
            const bool shows = left < argb.width()
                && ShowsSomething(argb, QRect(left, top, std::min(Square, argb.width() - left), height));
            if (shows && runStart < 0)
                runStart = left;
            if (!shows && runStart >= 0) {
                const QRect run(runStart, top, std::min(left, argb.width()) - runStart, height);
                pieces.push_back({run, argb.copy(run)});
                runStart = -1;
            }
        }
    }
    return pieces;
}

TSeeThroughFrame::TSeeThroughFrame(QWidget *parent, const QString &objectName)
    : QWidget(parent)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TSeeThroughFrame::SetPicture(const QImage &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    m_pieces.clear();
    for (TPiece &piece : Pieces(picture)) {
        const QRectF at(piece.at.topLeft() / ratio, piece.at.size() / ratio);
        QPixmap shown = QPixmap::fromImage(std::move(piece.picture));
        shown.setDevicePixelRatio(ratio);
        m_pieces.push_back({at.toAlignedRect(), std::move(shown)});
    }
    update();
}

void TSeeThroughFrame::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const TShownPiece &piece : m_pieces) {
        if (event->region().intersects(piece.at))
            painter.drawPixmap(piece.at.topLeft(), piece.picture);
    }
}
