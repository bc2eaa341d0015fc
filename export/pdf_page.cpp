#include "export/pdf_page.h"

#include "graphics/chart_geometry.h"
#include "graphics/chart_grid.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace exporting::pdf {

namespace {

constexpr int kPointsPerInch = 72;

// The text face sized in the chart picture's pixels, as the chart windows label their rows.
QFont chartFont(int pixels, bool bold = false) {
    QFont font = textFont(10, bold);
    font.setPixelSize(pixels);
    return font;
}

// A label of the chart: black on an opaque white box, its top-left corner at the point.
void drawChartLabel(QPainter& painter, int left, int top, const QString& text) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF box(left, top, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.drawText(box, int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), text);
}

} // namespace

void setUpA4(QPdfWriter& writer, const QString& title) {
    writer.setResolution(kPointsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Тест Дорвела"));
}

QFont textFont(qreal points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

qreal advance(const QPainter& painter, const QString& text) {
    return QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text);
}

void drawLine(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment alignment) {
    const qreal width = advance(painter, text);
    if (width <= box.width()) {
        painter.drawText(box, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine), text);
        return;
    }
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / width, 1.0);
    painter.drawText(QRectF(0, 0, width, box.height()),
                     int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), text);
    painter.restore();
}

QStringList wrapLines(const QPainter& painter, const QString& text, qreal width) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QPointF chartPoint(int x, int y) {
    return {x + 0.5, y + 0.5};
}

QPointF chartPoint(double sten, int scale) {
    const double step = chart::stenX(2) - chart::stenX(1);
    return {chart::stenX(0) + step * sten + 0.5, chart::rowY(scale) + 0.5};
}

void drawChart(QPainter& painter, const QPointF& topLeft, qreal scale,
               const std::function<void(QPainter&)>& curves) {
    using namespace chart;
    painter.save();
    painter.translate(topLeft);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, kPictureSize, kPictureSize));
    painter.fillRect(QRectF(0, 0, kPictureSize, kPictureSize), Qt::white);

    drawGrid(painter, chartFont(11, true), [](int x, int y) { return chartPoint(x, y); });
    painter.setFont(chartFont(11));
    painter.setPen(Qt::black);
    drawRowLabels([&painter](int left, int top, const QString& text) {
        drawChartLabel(painter, left, top, text);
    });
    curves(painter);
    painter.restore();

    painter.setPen(QPen(kRule, 0.5));
    painter.drawRect(QRectF(topLeft, QSizeF(kPictureSize * scale, kPictureSize * scale)));
}

} // namespace exporting::pdf
