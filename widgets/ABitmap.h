#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <cstdint>

// A picture that is always 24 bits per pixel (bytes blue, green, red), so that
// one picture can be blended byte by byte onto another: the fades of the
// STEP2 lamp and of the preview.
//
// Usage (one fade tick):
//   TABitmap body;  body.Assign(unlitLampPixmap);     // fresh background each tick
//   colour.BlendOnto(0, 0, opacity, body, colour.Height(), colour.Width());
//   label->setPixmap(body.ToPixmap());
class TABitmap {
public:
    TABitmap() = default;

    // Loads through the asset resolver; throws TLoadError like every picture load.
    void LoadFromFile(const QString &relativePath);
    void Assign(const QImage &image);
    void Assign(const QPixmap &pixmap);

    const QImage &Image() const { return m_image; }
    QPixmap ToPixmap() const { return QPixmap::fromImage(m_image); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool IsEmpty() const { return m_image.isNull(); }

    // Blends this picture onto `target` with its column 0, row 0 at (x, y):
    // every byte becomes (a x this + (256 - a) x target) div 256 with a the
    // opacity, 0 changing nothing and anything above 255 counting as 255.
    // The area (width x height) is clipped to the target and to this picture.
    // Returns whether any byte was touched.
    bool BlendOnto(int x, int y, std::uint16_t opacity, TABitmap &target, int height, int width) const;
    bool BlendOnto(int x, int y, std::uint16_t opacity, QImage &target, int height, int width) const;

    static constexpr QImage::Format PixelFormat = QImage::Format_BGR888;

private:
    QImage m_image;
};
