#include "graphics/chart_drawing.h"

#include "graphics/chart_grid.h"
#include "graphics/look.h"
#include "graphics/picture_files.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

namespace chart {

QImage loadBackground(const QString& name) {
    QImage picture =
        graphics::loadPicture(name, "BMP", QStringLiteral("Bitmap image is not valid"));
    picture.convertTo(QImage::Format_RGB32);
    return picture;
}

QFont labelFont() {
    return graphics::font(11);
}

static void drawLabel(QPainter& painter, int left, int top, const QString& text) {
    const QFontMetrics metrics(painter.font());
    const QRect box(left, top, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void drawFrame(QImage& picture) {
    QPainter painter(&picture);
    painter.setFont(labelFont());
    painter.setPen(Qt::black);
    drawRowLabels([&painter](int left, int top, const QString& text) {
        drawLabel(painter, left, top, text);
    });
}

static QPoint pointOf(int scale, int value) {
    return {stenX(value), rowY(scale)};
}

// The marker rings, drawn pixel by pixel so that every chart shows the same marks. The 1-pixel
// ring is the outline of the 5 x 5 marker box. The 2-pixel pen lays a second ring just outside
// it, so a later marker drawn with the thicker pen hides an earlier one at the same point.
struct Ring {
    int offset; // from the point to the ring's top-left pixel
    std::array<const char*, 7> rows;
};
constexpr Ring kThinRing = {kMarkerOffset, {".###.", "#...#", "#...#", "#...#", ".###.", "", ""}};
constexpr Ring kThickRing = {
    kMarkerOffset + 1,
    {"..###..", ".#####.", "##...##", "##...##", "##...##", ".#####.", "..###.."}};

static void drawMarker(QImage& picture, QPoint centre, int penWidth, const QColor& color) {
    const Ring& ring = penWidth > 1 ? kThickRing : kThinRing;
    const QRgb rgb = color.rgb();
    for (int row = 0; row < int(ring.rows.size()); ++row) {
        const char* pixels = ring.rows[std::size_t(row)];
        for (int column = 0; pixels[column] != '\0'; ++column) {
            const int x = centre.x() - ring.offset + column;
            const int y = centre.y() - ring.offset + row;
            if (pixels[column] == '#' && picture.valid(x, y))
                picture.setPixel(x, y, rgb);
        }
    }
}

void Plotter::plot(const std::array<quint8, 17>& values, const QColor& color) {
    QPolygon line;
    for (int k = 1; k <= int(values.size()); ++k) {
        const QPoint point = pointOf(k, values[std::size_t(k - 1)]);
        drawMarker(m_picture, point, m_penWidth, color);
        line << point;
    }
    m_penWidth = 2;
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(line);
}

} // namespace chart
