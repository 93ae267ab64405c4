// The floor the program's start-up is measured against: a bare Qt Widgets
// window of the main window's size with one line of Japanese, nothing else.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare-window"));
    window.setFixedSize(780, 560);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("STEP1　はじめての点灯"), &window));
    window.show();
    return app.exec();
}
