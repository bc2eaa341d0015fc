#pragma once

#include "graphics/chart_drawing.h"

class QLabel;
class QWidget;

// The part every chart window shares beyond the chart drawing of graphics/chart_drawing.h:
// the element that shows the picture.
namespace chart {

// The element of a chart window that shows the chart: 505 x 505 at the window's left edge.
QLabel* pictureElement(QWidget* window, int top);

} // namespace chart
