#pragma once

#include "scoring/types.h"

#include <optional>

namespace charts {

// Reads the subject of a filled place of the Selection into the current record and returns
// it; nothing when the place is free or its record cannot be read (the failure is dropped, as
// every chart drops it).
std::optional<scoring::ResultRecord> readChosenRecord(int place);

} // namespace charts
