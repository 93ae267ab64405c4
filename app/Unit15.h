#pragma once

#include <QDialog>

class TForm1;

// The settings screen.
class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(TForm1 &mainWindow);

private:
    TForm1 &m_main;
};
