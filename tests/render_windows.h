#pragma once

#include <QString>
#include <QWidget>
#include <functional>

// Each file in render/ registers the windows it can build; render_windows draws every
// registered window to <folder>/<name>.png at its natural client size.
using WindowBuilder = std::function<QWidget*()>;
bool registerWindow(const QString& name, WindowBuilder builder);
