#pragma once

#include "sheets/class_list.h"
#include "sheets/sheet_code.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace sheets {

// Paints `count` A4 portrait pages on a PDF writer or a printer, each on a painter whose
// coordinates are millimetres from the sheet's top-left corner. False when the device cannot
// be painted on (a printer that refuses, a file that cannot be written).
bool paintPages(QPagedPaintDevice& device, int count,
                const std::function<void(QPainter&, int page)>& paintPage);

// `count` blank sheets numbered from `firstSerial`.
QList<SheetCode> blankSheetCodes(int count, quint32 firstSerial = 1);
// One named sheet for every row of a class list that a record keeps whole, numbered from
// `firstSerial` in the list's order; rows with a problem get none.
QList<SheetCode> namedSheetCodes(const QList<ClassListRow>& rows, quint32 firstSerial = 1);

// The answer sheets, one page each.
bool paintAnswerSheets(QPagedPaintDevice& device, const QList<SheetCode>& codes);
// The same as a vector PDF with its fonts embedded; fails with the file's error.
void writeAnswerSheets(const QString& pdfPath, const QList<SheetCode>& codes);

// Writes a PDF painted by `paint` through a memory buffer into `pdfPath`, so a failure never
// leaves half a file; throws the file's error.
void writePdf(const QString& pdfPath, const QString& title,
              const std::function<bool(QPagedPaintDevice&)>& paint);

} // namespace sheets
