#pragma once

#include "scoring/types.h"

class QLineEdit;
class QWidget;

namespace collect {

// A text field for one part of the subject's data, starting at "нет". It takes at most
// `maxLength` characters (scoring::kSurnameLength and the others), and only characters that code
// page 1251 has, so that what it shows is exactly what the result record keeps.
QLineEdit* subjectField(QWidget* parent, int maxLength, int left, int top, int width, int height);

} // namespace collect
