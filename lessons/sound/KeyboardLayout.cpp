#include "KeyboardLayout.h"

namespace KeyboardLayout {

namespace {
// The white keys left of each key index: a black key lies over the gap
// after that many white keys.
constexpr int WhitesBefore[13] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7};
} // namespace

bool IsBlack(int keyIndex)
{
    return keyIndex == 1 || keyIndex == 3 || keyIndex == 6 || keyIndex == 8 || keyIndex == 10;
}

QRect KeyRect(QPoint origin, int keyIndex)
{
    const int whites = WhitesBefore[keyIndex];
    if (IsBlack(keyIndex))
        return QRect(QPoint(origin.x() + WhiteKey.width() * whites - BlackKey.width() / 2, origin.y()), BlackKey);
    return QRect(QPoint(origin.x() + WhiteKey.width() * whites, origin.y()), WhiteKey);
}

} // namespace KeyboardLayout

namespace KeyboardLayout {
const char *NoteNamePicture(int keyIndex)
{
    static constexpr const char *Names[14] = {
        "Picture\\SOUND\\do.bmp",  "Picture\\SOUND\\do#.bmp", "Picture\\SOUND\\re.bmp",  "Picture\\SOUND\\re#.bmp",
        "Picture\\SOUND\\mi.bmp",  "Picture\\SOUND\\fa.bmp",  "Picture\\SOUND\\fa#.bmp", "Picture\\SOUND\\so.bmp",
        "Picture\\SOUND\\so#.bmp", "Picture\\SOUND\\ra.bmp",  "Picture\\SOUND\\ra#.bmp", "Picture\\SOUND\\si.bmp",
        "Picture\\SOUND\\do.bmp",  "Picture\\SOUND\\yasumi.bmp",
    };
    return Names[keyIndex];
}
} // namespace KeyboardLayout

#include "AssetPath.h"

#include <QBitmap>

namespace KeyboardLayout {
QPixmap NoteNamePixmap(int keyIndex)
{
    const QImage image = LoadAssetImage(QString::fromLatin1(NoteNamePicture(keyIndex)));
    QPixmap pixmap = QPixmap::fromImage(image);
    if (!image.isNull())
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
    return pixmap;
}
} // namespace KeyboardLayout
