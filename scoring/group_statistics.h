#pragma once

#include "scoring/types.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The summary of a set of records, such as a class: per scale how many took it, the mean, the
// spread, the median and the extremes of their stens, and how many stand low, average or high.
// The numbers are gathered record by record, so a set of any size is never held at once.
namespace scoring {

// Where a sten stands: 1–3 low, 4–7 average, 8–10 high; any other byte is a damaged sten.
enum class StenBand { Low, Average, High, Damaged };
StenBand stenBand(quint8 sten);

// Which records a summary or a table takes. Each part that is set must hold: the group and the
// course compared with the record's after trimming spaces, in any letter case; the date of
// testing from `from` to `to`, both days included (a record whose date is damaged has none and
// fails either bound).
struct RecordFilter {
    std::optional<QString> group;
    std::optional<QString> course;
    std::optional<QDate> from;
    std::optional<QDate> to;

    bool isEmpty() const { return !group && !course && !from && !to; }
    bool accepts(const ResultRecord& record) const;
};

// The figures of one scale. A record counts for the scale only if its sten there is 1 to 10;
// a damaged sten leaves the record out of that scale alone. Without such a record every
// figure but the counts is empty; the standard deviation is the sample one (divided by n - 1)
// and empty for fewer than two.
struct ScaleStatistics {
    qint64 n = 0;
    std::optional<double> mean;
    std::optional<double> sd;
    std::optional<double> median; // of an even n, the mean of the two middle stens
    std::optional<int> min;
    std::optional<int> max;
    qint64 low = 0;     // stens 1–3
    qint64 average = 0; // stens 4–7
    qint64 high = 0;    // stens 8–10
};

// The figures of every scale over the records added. Only the number of each sten is kept, so
// the figures come out exact and the memory stays the same for any number of records.
class GroupStatistics {
public:
    void add(const ScaleProfile& stens);
    // Records added, whole or damaged.
    qint64 records() const { return m_records; }
    // Scale `scale` (1 for MD to 17 for Q4).
    ScaleStatistics scale(int scale) const;

private:
    qint64 m_records = 0;
    std::array<std::array<qint64, 10>, kScales> m_counts{}; // [scale - 1][sten - 1]
};

// What the class report tells beyond the figures: who was tested, when, and which students
// stand out. Names are "surname first name" as stored, sorted alphabetically.
class ClassSummary {
public:
    void add(const ResultRecord& record);

    const GroupStatistics& statistics() const { return m_statistics; }
    qint64 students() const { return m_statistics.records(); }
    // The different groups and courses of the records, trimmed, in the order first met; texts
    // that differ in letter case only count as one, as the record filter takes them.
    const QStringList& groups() const { return m_groups; }
    const QStringList& courses() const { return m_courses; }
    // The first and the last date of testing (nothing when every date is damaged).
    std::optional<QDate> firstDate() const { return m_first; }
    std::optional<QDate> lastDate() const { return m_last; }
    // The students whose sten for `scale` (1 to 17) is 1–3 or 8–10.
    QStringList lowStudents(int scale) const;
    QStringList highStudents(int scale) const;
    // The students whose MD sten is 8–10: their answers may have been given in a desirable
    // light, so their results are read with care.
    QStringList desirableAnswers() const { return highStudents(1); }

private:
    GroupStatistics m_statistics;
    QStringList m_groups;
    QStringList m_courses;
    std::optional<QDate> m_first;
    std::optional<QDate> m_last;
    std::array<QStringList, kScales> m_low;
    std::array<QStringList, kScales> m_high;
};

} // namespace scoring
