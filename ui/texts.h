#pragma once

#include <QString>

namespace ui {

// A text of the program kept as a resource file (":/texts/<name>"), UTF-8.
QString resourceText(const QString& name);

} // namespace ui
