#pragma once

#include "graphics/look.h"

#include <QColor>
#include <array>

// The colours of every chart: the background picture's grid, and the curves the chart windows
// and the PDF report draw on it.
namespace chart {

inline const QColor kMiddleShade(234, 241, 250);
inline const QColor kRowLine(176, 190, 210);
inline const QColor kColumnLine(150, 166, 190);
inline const QColor kStenNumbers(70, 90, 125);

// The curve of one subject's profile and of a group's mean profile.
inline const QColor kProfileCurve = graphics::kRed;

// The curves of the comparison chart's five places, place 1 first.
inline const std::array<QColor, 5> kPlaceCurves = {
    graphics::kRed, graphics::kBlue, graphics::kGreen, graphics::kMaroon, graphics::kBlack};

} // namespace chart
