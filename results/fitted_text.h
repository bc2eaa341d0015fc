#pragma once

#include <QFont>
#include <QString>

class QLabel;

namespace results {

// Gives a label a text that has to stay within `width` pixels of its left edge (a subject's
// names and group may be of any length): the text is set in `font` narrowed as far as needed,
// and, should half width still be too wide, in a smaller size; the label never reaches beyond
// its place.
void setFittedText(QLabel* label, const QString& text, const QFont& font, int width);

} // namespace results
