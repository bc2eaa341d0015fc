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

// Every table below is written whole or not at all (platform::OutputFile): a failure to write
// `path` throws platform::Error with the program's text ("Disk full", ...) and leaves `path`
// as it was. A `path` that is one of `files` is refused (refuseInputAsOutput), as is one that
// is not a regular file. Records are taken as writeTable takes them: the files that could not
// be read in full are returned, damaged records and partial tails named in `notes` when given.
// Only the records `filter` takes are written; they keep their numbers in their file.

// The table as CSV at `path`, as writeTable writes it.
QList<FileFailure> writeCsv(const QString& path, const QStringList& files, char separator = ';',
                            QStringList* notes = nullptr, const scoring::RecordFilter& filter = {});

// The table as an Excel workbook at `path`: the same records in the same order as writeTable,
// on a sheet "Результаты" whose bold, frozen first row holds the CSV's column names. Dates are
// date cells shown as dd.mm.yyyy (empty for a damaged one; as text before 1900, which Excel
// cannot count), the record number and the stens numbers (a sten outside 1 to 10 an empty
// cell), the way the answers were taken «тест» or «вручную», every other cell text as it is
// stored (no formula guard is needed: a text cell is never taken for a formula). A second
// sheet "Шкалы" lists the 17 scales with the factor's title and poles from `texts`. Both
// sheets print landscape, as wide as the page.
//
// Excel holds at most 1,048,575 records under the header; files holding more are refused at
// once, from their sizes, with platform::Error.
QList<FileFailure> writeXlsx(const QString& path, const QStringList& files,
                             const scoring::Explanations& texts, QStringList* notes = nullptr,
                             const scoring::RecordFilter& filter = {});

// The table as an SPSS data file (.sav, UTF-8) at `path`. Variables: file, record, date (an
// SPSS date shown dd.mm.yyyy; missing for a damaged date or one before the Gregorian
// calendar), surname, first_name, course, group (each shown as wide as its longest text), mode
// (0 «тест», 1 «вручную», with those value labels; missing for any other byte) and the 17
// stens MD to Q4, ordinal, each labelled with its factor's title and poles from `texts`; a
// sten outside 1 to 10 is system-missing, as a note of the file says. The files are read
// twice (SPSS needs the number of cases first); records appended in between are left out.
QList<FileFailure> writeSav(const QString& path, const QStringList& files,
                            const scoring::Explanations& texts, QStringList* notes = nullptr,
                            const scoring::RecordFilter& filter = {});

// A workbook at `path` of one small table: the sheet `name` with `header` bold in its frozen
// first row, then `rows` (a cell of digits with at most one decimal point is a number cell, any
// other text, an empty one left out), and the sheet "Шкалы" of the record table. Written whole
// or not at all, as the tables are.
void writeSmallXlsx(const QString& path, const QString& name, const QStringList& header,
                    const QList<QStringList>& rows, const scoring::Explanations& texts);

// Saves the table of `files` at `path` in the form its extension names (tableFormatFor): CSV
// with ';', XLSX or SAV, with the program's built-in explanation texts.
QList<FileFailure> saveTable(const QString& path, const QStringList& files);

// Throws platform::Error when `path` names one of `files`: an export never writes over what it
// reads.
void refuseInputAsOutput(const QString& path, const QStringList& files);

} // namespace exporting
