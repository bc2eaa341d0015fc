#pragma once

#include "graphics/chart_geometry.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QtGlobal>
#include <array>

class QFont;

// The drawing every chart picture shares: the background picture, the labels of the 17 rows
// and the plotting of profiles, all placed by the geometry of chart_geometry.h.
namespace chart {

inline const QString kBackgroundName = QStringLiteral("data\\graph.bmp");

// Loads the background picture. A file that cannot be opened fails with
// "Cannot open file "<name>". <reason>", one that is not a bitmap with "Bitmap image is not
// valid".
QImage loadBackground(const QString& name = kBackgroundName);

// The font of the labels drawn on the picture.
QFont labelFont();

// Draws the low-pole label, the high-pole label and the scale code of every row, black on an
// opaque white box with its top-left corner at the row's label positions.
void drawFrame(QImage& picture);

// Draws profiles on a picture. The pen carries over from one curve to the next: it starts
// 1 pixel wide, and every curve's line is drawn 2 pixels wide, so the markers of the first
// curve are thin and those of every later curve as thick as the lines.
class Plotter {
public:
    explicit Plotter(QImage& picture) : m_picture(picture) {}

    // Draws the marker of every scale at its value with the current pen width, then the line
    // through the 17 points, 2 pixels wide, in the given colour.
    void plot(const std::array<quint8, 17>& values, const QColor& color);

private:
    QImage& m_picture;
    int m_penWidth = 1;
};

} // namespace chart
