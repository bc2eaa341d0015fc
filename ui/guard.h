#pragma once

#include "platform/error.h"
#include "ui/message_box.h"

#include <exception>
#include <utility>

namespace ui {

// Every handler is entered through this guard: an error raised inside stops the handler where
// it stands, what was done before stays done, and the general error message box shows the
// error's text. Exceptions never travel through Qt's signal code.
template <class Handler> void guarded(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const platform::Error& error) {
        MessageBox::showError(error.text());
    } catch (const std::exception& error) {
        MessageBox::showError(QString::fromLocal8Bit(error.what()));
    }
}

} // namespace ui
