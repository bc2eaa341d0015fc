#pragma once

#include "graphics/chart_colours.h"
#include "graphics/chart_geometry.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

// Drawing shared by the chart background (drawn once into data\graph.bmp at build time), the
// chart windows and the PDF report, which draws the same chart as lines and text. A pixel
// (x, y) of the picture goes to the painter as `at(x, y)`: the point itself on a picture, the
// pixel's centre for vector output.
namespace chart {

using PixelPoint = std::function<QPointF(int x, int y)>;

inline QPointF pixel(int x, int y) {
    return {qreal(x), qreal(y)};
}

constexpr int kGridTop = rowY(1) - 14;
constexpr int kGridBottom = rowY(17) + 12;

// The grid: the middle stens 4 to 7 lightly shaded, a line per scale row and per sten column,
// the sten numbers along the top in `numbers`. Left of the sten-1 column, right of the sten-10
// column and the strips above each row stay free for the labels.
inline void drawGrid(QPainter& painter, const QFont& numbers, const PixelPoint& at = pixel) {
    const int halfStep = (stenX(2) - stenX(1)) / 2;
    painter.fillRect(
        QRectF(at(stenX(4) - halfStep, kGridTop), at(stenX(7) + halfStep + 1, kGridBottom + 1)),
        kMiddleShade);
    painter.setPen(QPen(kRowLine, 1));
    for (int k = 1; k <= int(kRows.size()); ++k)
        painter.drawLine(at(stenX(1) - 4, rowY(k)), at(stenX(10) + 4, rowY(k)));
    painter.setPen(QPen(kColumnLine, 1));
    for (int s = 1; s <= 10; ++s)
        painter.drawLine(at(stenX(s), kGridTop), at(stenX(s), kGridBottom));
    painter.setFont(numbers);
    painter.setPen(kStenNumbers);
    for (int s = 1; s <= 10; ++s)
        painter.drawText(QRectF(stenX(s) - halfStep, 6, 2 * halfStep, 14), Qt::AlignCenter,
                         QString::number(s));
}

// Draws the low-pole label, the high-pole label and the scale code of every row through
// `label(left, top, text)`, at the row's label positions.
inline void
drawRowLabels(const std::function<void(int left, int top, const QString& text)>& label) {
    for (int k = 1; k <= int(kRows.size()); ++k) {
        const RowLabels& row = kRows[std::size_t(k - 1)];
        const int labelTop = rowY(k) - kPoleLabelRaise;
        label(row.lowPoleLeft, labelTop, QString::fromUtf8(row.lowPole));
        label(kHighPoleLeft, labelTop, QString::fromUtf8(row.highPole));
        label(kCodeLeft, rowY(k) - kCodeRaise, QString::fromUtf8(row.code));
    }
}

} // namespace chart
