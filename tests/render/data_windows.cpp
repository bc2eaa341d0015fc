#include "app/method_window.h"
#include "tests/render_windows.h"

static const bool registered = [] {
    registerWindow(QStringLiteral("method"), [] { return new MethodWindow(nullptr); });
    return true;
}();
