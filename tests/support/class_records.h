#pragma once

#include "platform/dates.h"
#include "scoring/result_file.h"
#include "scoring/types.h"

#include <QDate>
#include <QFile>
#include <QList>
#include <QString>

// A small class made by hand for the tests of the group statistics and the class report: four
// students in two groups, MD and A spread out, B damaged in two records, C alike in all:
//
//   surname first  group course date        MD  A   B    C   others
//   Иванов  Пётр   9А    1      2026-09-01  9   2   5    4   5
//   Петрова Анна   9а    1      2026-09-02  3   8   0    4   5     (B damaged)
//   Сидоров Иван   9А    1      2026-09-03  5   10  7    4   5
//   Орлова  Мария  9Б    2      2026-10-01  8   1   200  4   5     (B damaged)
namespace testing {

inline scoring::ResultRecord classRecord(const QString& surname, const QString& firstName,
                                         const QString& group, const QString& course,
                                         const QDate& date, quint8 md, quint8 a, quint8 b) {
    scoring::ResultRecord record;
    record.surname = surname;
    record.firstName = firstName;
    record.group = group;
    record.course = course;
    record.date = platform::dayCount(date);
    record.scales.fill(5);
    record.scales[0] = md;
    record.scales[1] = a;
    record.scales[2] = b;
    record.scales[3] = 4;
    return record;
}

inline QList<scoring::ResultRecord> classRecords() {
    return {
        classRecord(QStringLiteral("Иванов"), QStringLiteral("Пётр"), QStringLiteral("9А"),
                    QStringLiteral("1"), QDate(2026, 9, 1), 9, 2, 5),
        classRecord(QStringLiteral("Петрова"), QStringLiteral("Анна"), QStringLiteral("9а"),
                    QStringLiteral("1"), QDate(2026, 9, 2), 3, 8, 0),
        classRecord(QStringLiteral("Сидоров"), QStringLiteral("Иван"), QStringLiteral("9А"),
                    QStringLiteral("1"), QDate(2026, 9, 3), 5, 10, 7),
        classRecord(QStringLiteral("Орлова"), QStringLiteral("Мария"), QStringLiteral("9Б"),
                    QStringLiteral("2"), QDate(2026, 10, 1), 8, 1, 200),
    };
}

// The class as a result file at `path`; false when it cannot be written.
inline bool writeClassFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const scoring::ResultRecord& record : classRecords()) {
        if (file.write(scoring::encodeRecord(record)) != scoring::kRecordSize)
            return false;
    }
    return file.flush();
}

} // namespace testing
