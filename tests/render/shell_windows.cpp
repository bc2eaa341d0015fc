#include "app/about_window.h"
#include "app/exit_confirm_window.h"
#include "app/main_window.h"
#include "tests/render_windows.h"

static const bool registered = [] {
    registerWindow(QStringLiteral("TForm1_main"), [] { return new TForm1; });
    registerWindow(QStringLiteral("TForm7_exit_confirm"), [] { return new TForm7(nullptr); });
    registerWindow(QStringLiteral("TForm14_about"), [] { return new TForm14(nullptr); });
    return true;
}();
