#include "SplashScreen.h"

#include "Image.h"

#include <QGuiApplication>
#include <QScreen>

QString TSplashScreen::PicturePath()
{
    return QStringLiteral("Picture\\PANEL\\Opening.jpg");
}

TSplashScreen::TSplashScreen(const QImage &decoded)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("LK-72 起動中"));
    setFixedSize(444, 313);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    auto *picture = new TImage(this, QStringLiteral("Image1"));
    picture->setGeometry(rect());
    picture->SetStretch(true);
    picture->LoadPicture(PicturePath());
    if (!decoded.isNull())
        picture->ShowDecodedPicture(decoded);
}
