#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Saving a chart as a numbered bitmap with a text legend beside it, in the folder "saved_img"
// of the working directory (never created by the program).
namespace charts {

// What an export wrote, named as the program names its files ("saved_img\SR_3.bmp").
struct ExportedChart {
    QString bitmap;
    QString legend; // empty when the legend could not be written
};

// The first export number n for which "<prefix><n>.bmp" lies neither in the working directory
// nor in "saved_img", in any letter case. Only the bitmap blocks a number; numbers freed are
// taken again.
int firstFreeNumber(const QString& prefix);

// Saves `picture` as "saved_img\<prefix><n>.bmp" under the first free number and writes the
// legend "saved_img\<prefix><n>.txt" (the heading, then every line, code page 1251, each line
// ended by CR LF; a legend of that name in another letter case is replaced). Each folder is
// read once. A bitmap that cannot be written throws "Cannot create file "<full path>".
// <reason>"; a legend that cannot be written leaves the result's legend empty.
ExportedChart exportChart(const QImage& picture, const QString& prefix, const QString& heading,
                          const QStringList& lines);

} // namespace charts
