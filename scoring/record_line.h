#pragma once

#include "scoring/types.h"

#include <QString>

namespace scoring {

// How the course and the group end a record's line.
enum class CourseStyle {
    Bare,  // "2 21": the archive's list
    Named, // "2 курс, 21": the group chart's list
};

// The line that lists a saved subject: the date in the short date format (empty for a damaged
// date), the surname, the first name, the course and the group, joined by single spaces, with
// the strings exactly as stored.
QString recordLine(const ResultRecord& record, CourseStyle style = CourseStyle::Bare);

} // namespace scoring
