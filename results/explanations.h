#pragma once

#include "scoring/explanations.h"

namespace results {

// The program's own explanations, read once from its compiled-in texts.
const scoring::Explanations& explanations();

// The explanation of scale k (1 for MD to 17 for Q4).
const scoring::Explanation& explanationOf(int scale);

} // namespace results
