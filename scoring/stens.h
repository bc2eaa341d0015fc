#pragma once

#include "scoring/types.h"

namespace scoring {

// The sten (1 to 10) of a raw score on scale 1 (MD) to 17 (Q4); any raw score 0 to 255.
quint8 stenFor(int scale, int raw);

// The stens of all 17 scales.
ScaleProfile toStens(const RawScores& raw);

} // namespace scoring
