#include "app/program.h"

#include "app/main_window.h"
#include "ui/ui_kit.h"

#include <QApplication>

namespace app {

int runProgram(QApplication& application) {
    application.setApplicationName(QStringLiteral("Тест Дорвела"));
    ui::applyLook(application);
    MainWindow mainWindow;
    mainWindow.show();
    return application.exec();
}

} // namespace app
