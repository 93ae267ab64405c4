#pragma once

#include <QWidget>

// The opening picture shown while the program starts.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    TSplashScreen();
};
