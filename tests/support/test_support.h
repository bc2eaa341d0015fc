#pragma once

#include "tests/support/core_support.h"

#include <QApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPlainTextEdit;

namespace testing {

// The first visible top-level window of the given class, or nullptr.
template <class Window> Window* visibleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

void failMissingChild(const char* name);

// The control of `window` with the given object name (controls are named for their role:
// "saveButton", "surnameEdit"); a missing one fails the running test and gives nullptr.
template <class Control> Control* child(const QWidget* window, const char* name) {
    auto* control = window ? window->findChild<Control*>(QLatin1String(name)) : nullptr;
    if (!control)
        failMissingChild(name);
    return control;
}
// Runs a step as soon as control returns to an event loop: the way to act on a window that
// the next call shows modally.
void later(std::function<void()> step);

// Closes every window of the chain still in its showing, so that a failed step never leaves a
// test waiting in a modal loop.
void unwindAll();

// A step that runs when control returns to an event loop, i.e. inside the showing of the
// window the next call opens; a failed step unwinds the chain.
void step(std::function<void()> body);

// Closes a window as a click on its frame's close box does.
void closeByFrame(QWidget* window);

// The lines of a text box, one per paragraph (an empty box has one empty line).
QStringList memoLines(const QPlainTextEdit* memo);

// The controls that Tab reaches from `first`, in the window's focus order, once round.
QList<QWidget*> tabOrder(QWidget* first);

// Sets up the application for GUI tests: the program's look, recording message box.
void prepareGuiTest();

} // namespace testing
