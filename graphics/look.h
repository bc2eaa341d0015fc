#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The program's fonts and named colours: the windows, the charts and the PDF report draw with
// them, so they stand below all of those, on Qt Gui alone.
namespace graphics {

// Named colours of the interface and the charts.
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kNavy(0, 0, 128);
inline const QColor kTeal(0, 128, 128);
inline const QColor kGreen(0, 128, 0);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kBlack(0, 0, 0);

enum Style { Plain = 0, Bold = 1, Underline = 2, Italic = 4 };

// The interface font (MS Sans Serif where it exists, else the closest metric match) at a
// pixel height; "8-point" is 11 pixels.
QFont font(int pixels, int style = Plain);
// The casual title font (Comic Sans MS where it exists, else a rounded face with Cyrillic).
QFont titleFont(int pixels, int style = Plain);

// The font narrowed, where needed, so that `text` fits `width` pixels: the windows keep the
// pixel sizes and positions they were laid out with, whatever face stands in for the one
// they were drawn with.
QFont fittedTo(QFont font, const QString& text, int width);

} // namespace graphics
