#pragma once

#include "scoring/types.h"

#include <QString>

// Record `number` of an appender called `tag`: every record of every appender differs from all
// the others, and a test can tell whose it is and rebuild its bytes.
inline scoring::ResultRecord numberedRecord(const QString& tag, int number) {
    scoring::ResultRecord record;
    record.surname = tag;
    record.firstName = QStringLiteral("Запись %1").arg(number);
    record.course = QString::number(number % 6 + 1);
    record.group = QStringLiteral("ПС-%1").arg(number % 100);
    for (int k = 0; k < scoring::kScales; ++k)
        record.scales[std::size_t(k)] = quint8(1 + (number + k) % 10);
    record.date = 39166.0 + number;
    record.manualEntry = quint8(number % 2);
    return record;
}
