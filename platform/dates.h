#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace platform {

// The short date format of the system (QLocale()); where the system has no locale (C/POSIX),
// the Russian one, the language of the interface.
QString formatShortDate(const QDate& date);

// Stored dates are days since 30 December 1899, kept as a double.
double dayCount(const QDate& date);

// The date of a stored day count; nothing for a value that is not a finite day count inside
// the calendar's range (a damaged file).
std::optional<QDate> dateFromDayCount(double days);

// The short date of a stored day count, or an empty text for a damaged one.
QString formatDayCount(double days);

} // namespace platform
