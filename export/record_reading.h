#pragma once

#include "platform/dates.h"
#include "platform/files.h"
#include "scoring/result_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace exporting {

// Whether a stored byte is a sten, 1 to 10. Any other value, found only in a damaged record, is
// exported as a missing value.
constexpr bool isSten(quint8 value) {
    return value >= 1 && value <= 10;
}

// Makes a decoded record what every export gives: each text ends at its first NUL character
// (a damaged length byte takes in the unused bytes of its field). Returns whether the record
// is damaged: a text that held a NUL, a sten outside 1 to 10, a date that is no day, or a byte
// for how the answers were taken other than 0 and 1.
inline bool cleanRecord(scoring::ResultRecord& record) {
    bool damaged = false;
    for (QString* text : {&record.surname, &record.firstName, &record.course, &record.group}) {
        if (const qsizetype end = text->indexOf(QChar(u'\0')); end >= 0) {
            text->truncate(end);
            damaged = true;
        }
    }
    damaged = damaged || !std::all_of(record.scales.begin(), record.scales.end(), isSten);
    return damaged || record.manualEntry > 1 || !platform::dateFromDayCount(record.date);
}

// The line standard error gives for a damaged record or a partial tail of a result file.
inline QString damagedRecordNote(const QString& file, qint64 index) {
    return QStringLiteral("%1: запись %2: повреждена").arg(file).arg(index);
}
inline QString partialRecordNote(const QString& file, qint64 index, qint64 bytes) {
    return QStringLiteral("%1: запись %2: неполная (%3 байт из %4), не выгружена")
        .arg(file)
        .arg(index)
        .arg(bytes)
        .arg(scoring::kRecordSize);
}

// Calls `use(index, record)` for every whole record of a result file, in file order, each
// cleaned by cleanRecord; a partial record at the end is left out. Each damaged record and a
// partial tail add a line to `notes`, when given. The file is opened read-only and read a few
// thousand records at a time, so a failure part-way has handed over every record before it,
// and a file of millions of records never sits in memory at once. Failures of reading throw
// platform::Error; what `use` throws passes through.
template <typename Use>
void forEachRecord(const QString& file, Use&& use, QStringList* notes = nullptr) {
    constexpr qint64 kRecordsPerPiece = 64 * 1024;
    const platform::FileHandle handle = platform::openFile(file, platform::Access::ReadOnly);
    const qint64 size = platform::fileSize(handle, file);
    const qint64 count = size / scoring::kRecordSize;
    for (qint64 first = 0; first < count; first += kRecordsPerPiece) {
        const qint64 records = std::min(kRecordsPerPiece, count - first);
        const QByteArray piece = platform::readExactly(handle, first * scoring::kRecordSize,
                                                       records * scoring::kRecordSize, file);
        for (qint64 n = 0; n < records; ++n) {
            scoring::ResultRecord record = scoring::decodeRecord(QByteArray::fromRawData(
                piece.constData() + n * scoring::kRecordSize, scoring::kRecordSize));
            if (cleanRecord(record) && notes)
                notes->append(damagedRecordNote(file, first + n));
            use(first + n, record);
        }
    }
    if (const qint64 tail = size % scoring::kRecordSize; tail != 0 && notes)
        notes->append(partialRecordNote(file, count, tail));
}

} // namespace exporting
