#pragma once

#include "scoring/types.h"

#include <QDate>

namespace scoring {

// The record saved for a subject scored on `day`: the subject's texts cut to the lengths the
// result file keeps (kSurnameLength and the others, in code page 1251), so the record equals the
// one read back from the file; the profile, the day as a day count, and how the answers were
// taken.
ResultRecord buildResultRecord(const Subject& subject, const ScaleProfile& profile,
                               const QDate& day, EntryMode mode);

} // namespace scoring
