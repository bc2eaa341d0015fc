#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <array>

namespace sheets {

// One answer box of the sheet, in millimetres from the page's top-left corner.
struct AnswerBox {
    int item;    // 1 to 105
    char option; // 'a', 'b' or 'c'
    QRectF rect;
};

// Where everything stands on the answer sheet: A4 portrait, all in millimetres from the page's
// top-left corner. The printing and the reading of a sheet both take their geometry from here.
struct SheetLayout {
    QSizeF page;                       // 210 × 297
    QList<AnswerBox> boxes;            // 315, item-major: item 1 a, b, c, item 2 a, b, c, …
    std::array<QRectF, 4> cornerMarks; // solid black squares: top-left, top-right,
                                       // bottom-right, bottom-left
    QRectF qrCode;                     // the QR code's place, its quiet zone inside it
    QRectF nameArea;                   // the handwritten fields: surname, first name, course,
                                       // group, date
    QRectF box(int item, char option) const;
};

// Rows of boxes per column and the columns of the grid.
constexpr int kRowsPerColumn = 21;
constexpr int kColumns = 5;

const SheetLayout& sheetLayout(); // built once

// {"page_mm":[210,297],"boxes":[{"item":1,"option":"a","x_mm":…,"y_mm":…,"w_mm":…,"h_mm":…},…]}
QByteArray layoutJson();

} // namespace sheets
