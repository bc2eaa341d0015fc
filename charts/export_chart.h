#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QLabel;

// Saving a chart as a numbered bitmap with a text legend beside it, in the folder "saved_img"
// of the working directory (never created by the program).
namespace charts {

// The first export number n for which "<prefix><n>.bmp" lies neither in the working directory
// nor in "saved_img", in any letter case. Only the bitmap blocks a number; numbers freed are
// taken again. Each folder is listed once.
int firstFreeNumber(const QString& prefix);

// Saves `picture` as "saved_img\<prefix><n>.bmp" under the first free number, writes the
// legend "saved_img\<prefix><n>.txt" (the heading, then every line, code page 1251, each line
// ended by CR LF), and reports in the two labels: "График сохранён в:" and the bitmap's name.
// A bitmap that cannot be written throws "Cannot create file "<full path>". <reason>" and
// changes no label; a legend that cannot be written shows "Невозможно сохранить файл" in the
// status label and leaves the path label as it was.
void ExportChart(const QImage& picture, const QString& prefix, const QString& heading,
                 const QStringList& lines, QLabel* statusLabel, QLabel* pathLabel);

} // namespace charts
