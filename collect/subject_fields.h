#pragma once

#include "scoring/result_file.h"

class QLineEdit;
class QWidget;

namespace collect {

// The most characters a result record keeps of each part of the subject's data.
using scoring::kCourseLength;
using scoring::kFirstNameLength;
using scoring::kGroupLength;
using scoring::kSurnameLength;

// A text field for one part of the subject's data, starting at "нет". It takes at most
// `maxLength` characters, and only characters that code page 1251 has, so that what it shows
// is exactly what the result record keeps.
QLineEdit* subjectField(QWidget* parent, int maxLength, int left, int top, int width, int height);

} // namespace collect
