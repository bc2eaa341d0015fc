// The yardstick of the start-up benchmark: a bare Qt window of the main window's size, shown
// by a program that links Qt Widgets alone.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(688, 453);
    window.show();
    return application.exec();
}
