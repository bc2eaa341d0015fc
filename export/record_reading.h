#pragma once

#include "platform/files.h"
#include "scoring/result_file.h"

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace exporting {

// Calls `use(index, record)` for every whole record of a result file, in file order; a
// partial record at the end is left out. The file is opened read-only and read a few thousand
// records at a time, so a failure part-way has handed over every record before it, and a file
// of millions of records never sits in memory at once. Failures of reading throw
// platform::Error; what `use` throws passes through.
template <typename Use> void forEachRecord(const QString& file, Use&& use) {
    constexpr qint64 kRecordsPerPiece = 64 * 1024;
    const platform::FileHandle handle = platform::openFile(file, platform::Access::ReadOnly);
    const qint64 count = platform::fileSize(handle, file) / scoring::kRecordSize;
    for (qint64 first = 0; first < count; first += kRecordsPerPiece) {
        const qint64 records = std::min(kRecordsPerPiece, count - first);
        const QByteArray piece = platform::readExactly(handle, first * scoring::kRecordSize,
                                                       records * scoring::kRecordSize, file);
        for (qint64 n = 0; n < records; ++n)
            use(first + n,
                scoring::decodeRecord(QByteArray::fromRawData(
                    piece.constData() + n * scoring::kRecordSize, scoring::kRecordSize)));
    }
}

} // namespace exporting
