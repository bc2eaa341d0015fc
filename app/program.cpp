#include "app/program.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "ui/ui_kit.h"

#include <QApplication>

namespace app {

int runProgram(QApplication& application) {
    application.setApplicationName(QStringLiteral("Тест Дорвела"));
    ui::applyLook(application);
    MainWindow mainWindow;
    state().Form1 = &mainWindow;
    mainWindow.show();
    const int code = application.exec();
    state().Form1 = nullptr;
    return code;
}

} // namespace app
