#pragma once

#include "graphics/chart_geometry.h"

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <span>
#include <utility>

class QPdfWriter;

// What the PDF pages share: an A4 page laid out in points, the text face, single lines that
// narrow rather than overflow, and the profile chart's picture drawn as vector graphics.
namespace exporting::pdf {

// The writer's resolution is 72 dots per inch, so one unit of the painter is one point of the
// A4 page (595 x 842).
constexpr qreal kPageHeight = 842;
constexpr qreal kLeft = 40;
constexpr qreal kTop = 36;
constexpr qreal kWidth = 515; // the page less both margins
constexpr qreal kBottom = kPageHeight - 40;

// The profile chart, drawn in the units of the chart picture and scaled onto the page, and the
// height of a table row: the same in every report.
constexpr qreal kChartScale = 0.54;
constexpr qreal kChartSide = chart::kPictureSize * kChartScale;
constexpr qreal kRowHeight = 12;

inline const QColor kHeading(0, 0, 128);
inline const QColor kRule(150, 166, 190);
inline const QColor kStripe(240, 244, 250);

// An A4 portrait page without margins, in points, with the document's title.
void setUpA4(QPdfWriter& writer, const QString& title);

// Liberation Sans, which has Cyrillic and which the writer embeds. Unhinted, so that text is
// placed by the font's own widths at any size.
QFont textFont(qreal points, bool bold = false);

qreal advance(const QPainter& painter, const QString& text);

// One line of text in `box`, vertically centred; a text too wide for its box is narrowed to
// fit rather than cut, so that all of it stays on the page and in the page's text.
void drawLine(QPainter& painter, const QRectF& box, const QString& text,
              Qt::Alignment alignment = Qt::AlignLeft);

// Caption and value pairs, one pair a line: the caption grey, the value bold beside it.
// Returns the top of the line below the last.
qreal drawCaptioned(QPainter& painter, const QPointF& topLeft, qreal width,
                    std::span<const std::pair<QString, QString>> lines);

// `text` broken into lines at spaces so that each fits `width` in the painter's font; a word
// wider than the width stays whole on its own line (drawLine narrows it).
QStringList wrapLines(const QPainter& painter, const QString& text, qreal width);

// The centre of the chart picture's pixel (x, y): a one-pixel line at x covers x to x + 1.
QPointF chartPoint(int x, int y);
// The point of a sten on scale `scale`'s row; stens between columns fall between them.
QPointF chartPoint(double sten, int scale);

// The profile chart as the chart windows show it, as lines and text: a white picture with the
// grid, the pole labels and the codes of the rows, scaled by `scale` with its top-left corner
// at `topLeft`, framed thinly on the page. `curves` then draws in the picture's own units
// (see chartPoint), clipped to the picture.
void drawChart(QPainter& painter, const QPointF& topLeft, qreal scale,
               const std::function<void(QPainter&)>& curves);

} // namespace exporting::pdf
