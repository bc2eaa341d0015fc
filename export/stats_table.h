#pragma once

#include "export/table_export.h"
#include "scoring/explanations.h"
#include "scoring/group_statistics.h"

#include <QByteArray>
#include <QString>

namespace exporting {

// Adds every whole record of `files` that `filter` takes to `into`, reading the files as the
// record table reads them (a few thousand records at a time, never a whole file). Returns the
// files that could not be read in full, and names damaged records in `notes`, as writeTable
// does.
QList<FileFailure> gatherStatistics(const QStringList& files, const scoring::RecordFilter& filter,
                                    scoring::GroupStatistics& into, QStringList* notes = nullptr);
QList<FileFailure> gatherSummary(const QStringList& files, const scoring::RecordFilter& filter,
                                 scoring::ClassSummary& into, QStringList* notes = nullptr);

// The statistics table's first line, without its line end:
// scale;n;mean;sd;median;min;max;low;average;high
QString statsHeader(char separator = ';');

// A figure rounded to two decimals (halves away from zero), with a decimal comma or point.
QString twoDecimals(double value, QChar point);

// The statistics table as CSV: UTF-8 with a byte-order mark, the header, then one line per
// scale from MD to Q4 with the scale code, n, mean, sd and median to two decimals, min, max
// and the counts low, average, high; an empty cell for a figure the scale has not (see
// scoring::ScaleStatistics); CR LF after every line. With the separator ';' the decimals take
// a comma, with ',' a point, so that both a Russian spreadsheet and R's read.csv / read.csv2
// read them as numbers.
QByteArray statsCsv(const scoring::GroupStatistics& statistics, char separator = ';');

// The same table as an Excel workbook at `path`: a sheet "Статистика" with the same first
// line and the figures as number cells rounded to two decimals, and the sheet "Шкалы" with
// the factors' titles and poles from `texts`. The file appears whole or not at all; a failure
// throws platform::Error.
void writeStatsXlsx(const QString& path, const scoring::GroupStatistics& statistics,
                    const scoring::Explanations& texts);

} // namespace exporting
