#pragma once

#include "scoring/types.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace scoring {

// A saved subject chosen for a chart: record `recordIndex` (counted from 0) of the result file
// `fileName`. A reference with an empty file name names nobody: its place is free.
struct RecordRef {
    QString fileName;
    qint32 recordIndex = 0;

    bool isFree() const { return fileName.isEmpty(); }
    friend bool operator==(const RecordRef&, const RecordRef&) = default;
};

// The record a reference names, read again from its file; nothing when the reference is free
// or the record cannot be read. The charts and the archive drop such a failure without a
// message.
std::optional<ResultRecord> readChosenRecord(const RecordRef& chosen);

} // namespace scoring
