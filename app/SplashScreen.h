#pragma once

#include <QImage>
#include <QWidget>

// The opening picture shown while the program starts.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    // Its picture's name, for decoding it ahead of the splash.
    static QString PicturePath();
    // `decoded` is the picture already decoded elsewhere, or null.
    explicit TSplashScreen(const QImage &decoded = {});
};
