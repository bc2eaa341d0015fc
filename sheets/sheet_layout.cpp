#include "sheets/sheet_layout.h"

#include "scoring/types.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace sheets {

namespace {

// The grid: five columns of 21 rows. Every row has its number and three boxes; the rows are
// far enough apart that a cross drawn a little large stays out of its neighbours' boxes.
constexpr double kGridLeft = 15.0;
constexpr double kGridTop = 88.0;
constexpr double kColumnPitch = 37.0;
constexpr double kRowPitch = 8.8;
constexpr double kNumberWidth = 10.0; // left of the first box
constexpr double kBoxPitch = 8.5;
constexpr double kBoxSize = 6.0;

constexpr double kMarkSize = 8.0;
constexpr double kMarkMargin = 8.0;

SheetLayout buildLayout() {
    SheetLayout layout;
    layout.page = QSizeF(210.0, 297.0);
    const double right = layout.page.width() - kMarkMargin - kMarkSize;
    const double bottom = layout.page.height() - kMarkMargin - kMarkSize;
    layout.cornerMarks = {QRectF(kMarkMargin, kMarkMargin, kMarkSize, kMarkSize),
                          QRectF(right, kMarkMargin, kMarkSize, kMarkSize),
                          QRectF(right, bottom, kMarkSize, kMarkSize),
                          QRectF(kMarkMargin, bottom, kMarkSize, kMarkSize)};
    layout.qrCode = QRectF(160.0, 20.0, 36.0, 36.0);
    layout.nameArea = QRectF(15.0, 24.0, 140.0, 40.0);

    layout.boxes.reserve(scoring::kItems * scoring::kAnswers);
    for (int item = 1; item <= scoring::kItems; ++item) {
        const int column = (item - 1) / kRowsPerColumn;
        const int row = (item - 1) % kRowsPerColumn;
        const double left = kGridLeft + column * kColumnPitch + kNumberWidth;
        const double top = kGridTop + row * kRowPitch;
        for (int k = 0; k < scoring::kAnswers; ++k) {
            layout.boxes.append(
                {item, char('a' + k), QRectF(left + k * kBoxPitch, top, kBoxSize, kBoxSize)});
        }
    }
    return layout;
}

} // namespace

QRectF SheetLayout::box(int item, char option) const {
    const int index = (item - 1) * scoring::kAnswers + (option - 'a');
    if (item < 1 || item > scoring::kItems || option < 'a' || option > 'c')
        return {};
    return boxes.at(index).rect;
}

const SheetLayout& sheetLayout() {
    static const SheetLayout layout = buildLayout();
    return layout;
}

QByteArray layoutJson() {
    const SheetLayout& layout = sheetLayout();
    QJsonArray boxes;
    for (const AnswerBox& box : layout.boxes) {
        boxes.append(QJsonObject{{QStringLiteral("item"), box.item},
                                 {QStringLiteral("option"), QString(QChar(box.option))},
                                 {QStringLiteral("x_mm"), box.rect.x()},
                                 {QStringLiteral("y_mm"), box.rect.y()},
                                 {QStringLiteral("w_mm"), box.rect.width()},
                                 {QStringLiteral("h_mm"), box.rect.height()}});
    }
    const QJsonObject root{
        {QStringLiteral("page_mm"), QJsonArray{layout.page.width(), layout.page.height()}},
        {QStringLiteral("boxes"), boxes}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace sheets
