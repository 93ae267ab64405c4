#include "FitText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>

QFont FontToFit(const QFont &font, const QString &text, const QSize &box, int smallest)
{
    QFont fitted = font;
    for (int pixels = QFontInfo(font).pixelSize(); pixels > smallest; --pixels) {
        fitted.setPixelSize(pixels);
        const QRect needed = QFontMetrics(fitted).boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, text);
        if (needed.height() <= box.height() && needed.width() <= box.width())
            return fitted;
    }
    fitted.setPixelSize(smallest);
    return fitted;
}
