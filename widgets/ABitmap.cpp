#include "ABitmap.h"

#include "AssetPath.h"

#include <algorithm>

void TABitmap::LoadFromFile(const QString &relativePath)
{
    Assign(LoadAssetImage(relativePath));
}

void TABitmap::Assign(const QImage &image)
{
    m_image = image.convertToFormat(PixelFormat);
}

void TABitmap::Assign(const QPixmap &pixmap)
{
    Assign(pixmap.toImage());
}

bool TABitmap::BlendOnto(int x, int y, std::uint16_t opacity, TABitmap &target, int height, int width) const
{
    return BlendOnto(x, y, opacity, target.m_image, height, width);
}

bool TABitmap::BlendOnto(int x, int y, std::uint16_t opacity, QImage &target, int height, int width) const
{
    if (target.format() != PixelFormat)
        target = target.convertToFormat(PixelFormat);
    if (opacity == 0)
        return false;
    const int a = std::min<int>(opacity, 255);
    const int b = 256 - a;

    // Clip to the target and to this picture; the picture's own rows and
    // columns start where the area starts, also when it begins off the target.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min({x + width, target.width(), x + m_image.width()});
    const int bottom = std::min({y + height, target.height(), y + m_image.height()});
    if (left >= right || top >= bottom)
        return false;

    const int spanBytes = 3 * (right - left);
    for (int r = top; r < bottom; ++r) {
        uchar *t = target.scanLine(r) + 3 * left;
        const uchar *s = m_image.constScanLine(r - y) + 3 * (left - x);
        for (int k = 0; k < spanBytes; ++k)
            t[k] = static_cast<uchar>((a * s[k] + b * t[k]) >> 8);
    }
    return true;
}
