#include "collect/manual_entry_window.h"
#include "tests/render_windows.h"

#include <QPushButton>

namespace {

// The window as an examiner sees it part-way through a sheet: some statements answered in
// every column. Keyboard entry has not begun, so no row is highlighted; with the warning,
// "результат" has shown the first unanswered statement as the current row.
QWidget* partlyEntered(bool warning) {
    auto* window = new ManualEntryWindow(nullptr);
    window->create();
    for (const int box : {1, 5, 9, 10, 51, 52, 60, 118, 200, 307, 309, 312, 315})
        window->chooseBox(box);
    window->grid()->setCurrent(warning ? 104 : 21);
    window->grid()->setFocus();
    if (warning)
        window->findChild<QPushButton*>(QStringLiteral("resultButton"))->click();
    return window;
}

} // namespace

static const bool registered = [] {
    registerWindow(QStringLiteral("manual_entry"), [] { return partlyEntered(false); });
    registerWindow(QStringLiteral("manual_entry_warning"), [] { return partlyEntered(true); });
    return true;
}();
