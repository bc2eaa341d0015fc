#pragma once

#include "scoring/explanations.h"

#include <QString>

// The program's texts (data/src/*.txt), compiled in as resources of this library, so that the
// windows and the command-line tools read the same texts.
namespace graphics {

// A text of the program kept as a resource file (":/texts/<name>"), UTF-8; empty if there is
// no such text.
QString resourceText(const QString& name);

// The factor explanations, read once from the compiled-in "explanations.txt".
const scoring::Explanations& explanations();

// The explanation of scale k (1 for MD to 17 for Q4).
const scoring::Explanation& explanationOf(int scale);

} // namespace graphics
