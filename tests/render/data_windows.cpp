#include "app/method_window.h"
#include "tests/render_windows.h"

static const bool registered = [] {
    registerWindow(QStringLiteral("TForm2_method"), [] { return new TForm2(nullptr); });
    return true;
}();
