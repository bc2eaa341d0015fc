#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace sheets {

// Text on a painter whose coordinates are millimetres. Text is laid out in a font 100 units
// high and drawn scaled down, so that heights in millimetres need no whole pixel sizes and the
// text comes out alike on paper, in a PDF and in any raster. `size` is the font's height in
// millimetres (12 points are 4.23 mm).
struct TextStyle {
    double size = 4.0;
    bool bold = false;
    QColor colour = Qt::black;
};

// One line in a box, aligned by `flags` (Qt::Alignment).
void drawTextLine(QPainter& painter, const QRectF& place, const TextStyle& style,
                  const QString& text, int flags = Qt::AlignLeft | Qt::AlignVCenter);

// The width one line of text takes.
double textWidth(const TextStyle& style, const QString& text);

// A paragraph wrapped at word boundaries to `width`, lines `spacing` times the font's height
// apart; returns its height. With no painter it only measures.
double drawParagraph(QPainter* painter, const QPointF& topLeft, double width,
                     const TextStyle& style, const QString& text, double spacing = 1.25);

} // namespace sheets
