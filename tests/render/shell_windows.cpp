#include "app/about_window.h"
#include "app/main_window.h"
#include "results/exit_confirm_window.h"
#include "tests/render_windows.h"

static const bool registered = [] {
    registerWindow(QStringLiteral("main"), [] { return new MainWindow; });
    registerWindow(QStringLiteral("exit_confirm"), [] { return new ExitConfirmWindow(nullptr); });
    registerWindow(QStringLiteral("about"), [] { return new AboutWindow(nullptr); });
    return true;
}();
