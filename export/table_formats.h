#pragma once

#include "export/table_export.h"
#include "scoring/explanations.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace exporting {

// The forms the table of result records can be saved in.
enum class TableFormat { Csv, Xlsx, Sav };

// The form a file name asks for by its extension, in any case: .xlsx, .sav, anything else CSV.
TableFormat tableFormatFor(const QString& path);

// The table as an Excel workbook at `path`: the same records in the same order as writeTable,
// on a sheet "Результаты" whose bold, frozen first row holds the CSV's column names. Dates are
// date cells shown as dd.mm.yyyy (empty for a damaged one; as text before 1900, which Excel
// cannot count), the record number and the stens numbers, every other cell text as it is
// stored (no formula guard is needed: a text cell is never taken for a formula). A second
// sheet "Шкалы" lists the 17 scales with the factor's title and poles from `texts`.
//
// Excel holds at most 1,048,575 records under the header; a longer table is not written and
// throws platform::Error. Unreadable files are returned as writeTable returns them; a failure
// to write `path` throws platform::Error, and `path` is then left as it was. Only the records
// `filter` accepts are written.
QList<FileFailure> writeXlsx(const QString& path, const QStringList& files,
                             const scoring::Explanations& texts,
                             const scoring::RecordFilter& filter = {});

// The table as an SPSS data file (.sav, UTF-8) at `path`, records as writeTable takes them.
// Variables: file, record, date (an SPSS date shown dd.mm.yyyy; missing for a damaged date or
// one before the Gregorian calendar), surname, first_name, course, group, mode (0 test,
// 1 typed in, with those value labels; missing for any other byte) and the 17 stens MD to Q4,
// ordinal, each labelled with its factor's title and poles from `texts`. The files are read
// twice (SPSS needs the number of cases first); records appended in between are left out.
// Failures and the filter as for writeXlsx.
QList<FileFailure> writeSav(const QString& path, const QStringList& files,
                            const scoring::Explanations& texts,
                            const scoring::RecordFilter& filter = {});

// Saves the table of `files` at `path` in the form its extension names (tableFormatFor): CSV
// with ';', XLSX or SAV, with the program's built-in explanation texts. Returns the files
// that could not be read in full (the rest are saved); a failure to write `path` throws
// platform::Error and leaves `path` as it was.
QList<FileFailure> saveTable(const QString& path, const QStringList& files);

} // namespace exporting
