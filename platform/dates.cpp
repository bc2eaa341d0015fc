#include "platform/dates.h"

#include <QLocale>
#include <cmath>

namespace platform {

static const QDate& epoch() {
    static const QDate day(1899, 12, 30);
    return day;
}

QString formatShortDate(const QDate& date) {
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::Russian, QLocale::Russia).toString(date, QLocale::ShortFormat);
    return locale.toString(date, QLocale::ShortFormat);
}

double dayCount(const QDate& date) {
    return static_cast<double>(epoch().daysTo(date));
}

std::optional<QDate> dateFromDayCount(double days) {
    // Years 1 to 9999: a day count outside them is no date of a record but damage.
    constexpr double first = -693593.0; // 1 January 0001
    constexpr double last = 2958465.0;  // 31 December 9999
    if (!std::isfinite(days) || days < first || days >= last + 1.0)
        return std::nullopt;
    return epoch().addDays(static_cast<qint64>(std::floor(days)));
}

QString formatDayCount(double days) {
    const auto date = dateFromDayCount(days);
    return date ? formatShortDate(*date) : QString();
}

} // namespace platform
