#pragma once

#include "sheets/sheet_code.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace sheets {

// The resolution of the straightened page kept for review: enough to read a handwritten name.
constexpr double kAlignedPixelsPerMm = 4.0;

// What one scanned page gives: the sheet's code, its 105 answers and the page straightened to
// the layout, or the reason (in Russian) it was not read.
struct PageReading {
    std::optional<SheetCode> code;
    QString answers;          // 105 characters: a, b, c, '-' (empty), '?' (doubtful)
    QList<int> doubtful;      // item numbers
    QStringList doubtReasons; // one for each doubtful item
    QImage aligned;           // grey, kAlignedPixelsPerMm pixels a millimetre
    QString error;
};

// Reads one page: finds its corner marks, straightens it (rotation, skew, scale, perspective;
// upside down or sideways too), reads the QR code and decides every row.
PageReading readSheetPage(const QImage& page);

} // namespace sheets
