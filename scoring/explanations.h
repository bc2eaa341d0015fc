#pragma once

#include "scoring/types.h"

#include <QString>
#include <array>

namespace scoring {

// The texts of one factor's explanation: title, pole-names line, low pole, high pole.
struct Explanation {
    QString title;
    QString poles;
    QString low;
    QString high;
};

// One explanation per scale, index scale - 1 (MD to Q4).
using Explanations = std::array<Explanation, kScales>;

// Reads the explanation texts: blocks of four lines (title, pole names, low-pole paragraph,
// high-pole paragraph) in scale order, separated by empty lines. Lines are trimmed and CR LF
// counts as one line break. Blocks beyond the 17th are ignored; a short block leaves its
// missing texts empty, and lines beyond the fourth of a block are ignored.
Explanations parseExplanations(const QString& text);

} // namespace scoring
