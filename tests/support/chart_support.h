#pragma once

#include "scoring/types.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

class ArchiveWindow;
class QPushButton;
namespace ui {
class ChainWindow;
}

namespace testing {

// Appends a subject to a result file of the working directory's "result" folder and puts it
// into a place of the archive's Selection, with the full path the archive's file dialog would
// give.
void choose(int place, const QString& file, const scoring::ResultRecord& record);

// Creates and shows the archive window with the result file of `place` listed through its
// file dialog and the file's first subject selected, as the user leaves it before pressing an
// arrow.
void showArchiveAtFileOf(ArchiveWindow& window, int place);

// Closes a chart window in its showing by its "Выход" button or by Escape where its keyboard
// focus is. Escape is checked once control returns: a chart still showing then is closed, and
// `*leftOpen` says so.
void closeChart(ui::ChainWindow* window, QPushButton* exitButton, bool byEscape, bool* leftOpen);

// How many pixels of the picture (or of `area` of it) have the colour.
int countColour(const QImage& picture, const QColor& colour, const QRect& area = QRect());

// The colour of the curve of a profile whose values all equal `sten`: a vertical line at that
// column, looked at half way between two rows.
QColor lineColourAt(const QImage& picture, int sten);

// The lines in code page 1251, each ended by CR LF, as the program writes a legend file.
QByteArray cp1251Lines(const QStringList& lines);

} // namespace testing
