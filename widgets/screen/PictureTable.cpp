#include "PictureTable.h"

#include "PageScreen.h"

#include <stdexcept>

void TPictureLoader::Load(TImage *image, const QString &relativePath)
{
    Try([image, &relativePath] { image->LoadPicture(relativePath); });
}

void TPictureLoader::Try(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &) {
        m_missing = true;
    }
}

void TPictureLoader::ReportMissing(QWidget *parent)
{
    if (!m_missing)
        return;
    m_missing = false;
    TPageScreen::ShowCreateError(parent);
}

TImage *MakePicture(QWidget *parent, const QString &name, QRect at, const char *hint, unsigned look)
{
    auto *image = new TImage(parent, name);
    image->setGeometry(at);
    image->SetStretch((look & PictureLook::Stretched) != 0);
    image->SetPressedLook((look & PictureLook::Pressable) != 0);
    if (hint)
        image->SetHint(QString::fromUtf8(hint));
    // What looks pressable to the mouse is a button to the keyboard too.
    if (look & (PictureLook::Hand | PictureLook::Pressable))
        image->SetRole(QAccessible::Button);
    if (look & PictureLook::Hand)
        image->setCursor(Qt::PointingHandCursor);
    else if (look & PictureLook::OpenHand)
        image->setCursor(Qt::OpenHandCursor);
    if (look & PictureLook::Hidden)
        image->hide();
    return image;
}
