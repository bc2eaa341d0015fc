#pragma once

#include "app/app_state.h"

#include <QString>
#include <array>

namespace results {

// The texts of one factor's explanation: title, pole-names line, low pole, high pole.
using Explanation = app::ExplanationTexts;
using Explanations = std::array<Explanation, 17>;

// Reads the explanation texts: blocks of four lines (title, pole names, low-pole paragraph,
// high-pole paragraph) in scale order, separated by empty lines. Blocks beyond the 17th are
// ignored; a short block leaves its missing texts empty.
Explanations parseExplanations(const QString& text);

// The program's own explanations, read once from its compiled-in texts.
const Explanations& explanations();

// The explanation of scale k (1 for MD to 17 for Q4).
const Explanation& explanationOf(int scale);

} // namespace results
