#pragma once

#include <QWidget>

// The opening picture shown while the program starts.
class TForm11 : public QWidget {
    Q_OBJECT
public:
    TForm11();
};
