#include "app/program.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "ui/ui_kit.h"

#include <QApplication>

namespace app {

int runProgram(QApplication& application) {
    application.setApplicationName(QStringLiteral("Тест Дорвела"));
    installQtTranslation(application);
    setProgramIcon(application);
    ui::applyLook(application);
    if (!checkDataFolder())
        return 1;
    // Only the main window's "Выход" and its frame end the program: no other window closing,
    // not even the last one shown (an error box over a chart while the main window is hidden).
    application.setQuitOnLastWindowClosed(false);
    MainWindow mainWindow;
    mainWindow.show();
    return application.exec();
}

} // namespace app
