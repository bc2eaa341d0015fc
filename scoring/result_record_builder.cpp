#include "scoring/result_record_builder.h"

#include "platform/dates.h"
#include "scoring/result_file.h"

namespace scoring {

ResultRecord buildResultRecord(const Subject& subject, const ScaleProfile& profile,
                               const QDate& day, EntryMode mode) {
    ResultRecord record;
    record.surname = subject.surname;
    record.firstName = subject.firstName;
    record.course = subject.course;
    record.group = subject.group;
    record.scales = profile;
    record.date = platform::dayCount(day);
    record.manualEntry = quint8(mode);
    // The result file's own encoding does the cutting, so the lengths are kept in one place.
    return decodeRecord(encodeRecord(record));
}

} // namespace scoring
