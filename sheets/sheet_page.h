#pragma once

#include "sheets/sheet_code.h"

class QPainter;

namespace sheets {

// Draws one answer sheet, the QR code of `code` included, on a painter whose coordinates are
// millimetres from the page's top-left corner (the caller sets the transform): the same
// routine writes the PDF and rasterises a sheet at any resolution.
void drawAnswerSheet(QPainter& painter, const SheetCode& code);

} // namespace sheets
