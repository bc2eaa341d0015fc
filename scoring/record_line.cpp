#include "scoring/record_line.h"

#include "platform/dates.h"

namespace scoring {

QString recordLine(const ResultRecord& record, CourseStyle style) {
    const QChar space(u' ');
    const QString afterCourse =
        style == CourseStyle::Named ? QStringLiteral(" курс, ") : QString(space);
    return platform::formatDayCount(record.date) + space + record.surname + space +
           record.firstName + space + record.course + afterCourse + record.group;
}

} // namespace scoring
