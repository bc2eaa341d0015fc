#pragma once

#include "tests/support/core_support.h"

#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>

namespace testing {

// The first visible top-level window of the given class, or nullptr.
template <class Window> Window* visibleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Runs a step as soon as control returns to an event loop: the way to act on a window that
// the next call shows modally.
void later(std::function<void()> step);

// Sets up the application for GUI tests: the program's look, recording message box.
void prepareGuiTest();

} // namespace testing
