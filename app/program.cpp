#include "app/program.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/os_files.h"
#include "ui/ui_kit.h"

#include <QApplication>

namespace app {

int runProgram(QApplication& application) {
    // Before any file is written: under a file-size limit a save then fails as on a full disk
    // and is rolled back, instead of the program ending midway with a partial record.
    platform::os::ignoreFileSizeSignal();
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
