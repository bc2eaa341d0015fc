#pragma once

#include "scoring/group_statistics.h"

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;
namespace platform {
class OutputFile;
}

namespace exporting {

// A result file the table could not take in full, and why ("File not found", ...).
struct FileFailure {
    QString file; // as it was given
    QString reason;
};

// The first line of the table, without its line end.
QString tableHeader(char separator = ';');

// Writes the table of every whole record of `files`, in file order and then record order, to
// `out`: UTF-8 with a byte-order mark, `separator` (';' or ',') between the cells, CR LF after
// every line, a cell holding the separator, a comma, a tab, a quote, CR or LF put in quotes
// with its quotes doubled. A row holds the file name without its folder, the record number
// from 0, the date (yyyy-mm-dd, empty for a damaged one), surname, first name, course, group,
// the way the answers were taken ("test", "manual", empty for any other byte) and the 17
// stens (empty for a value outside 1 to 10). A text cell beginning with =, +, -, @, tab or CR
// gets a leading apostrophe, so that a spreadsheet does not take it for a formula.
//
// Records are decoded as the archive decodes them (damaged length bytes taken as the field's
// maximum), each text ending at its first NUL; a partial record at the end of a file is left
// out. Damaged records and partial tails are named in `notes`, when given. A file that cannot
// be read is left out from the point where reading failed and is returned with the reason; the
// other files are still written. A failure to write to `out` throws platform::Error.
// Only the records `filter` takes are written; they keep their numbers in their file.
QList<FileFailure> writeTable(QIODevice& out, const QStringList& files, char separator = ';',
                              QStringList* notes = nullptr,
                              const scoring::RecordFilter& filter = {});
// The same into a file written whole or not at all; the caller commits it.
QList<FileFailure> writeTable(platform::OutputFile& out, const QStringList& files,
                              char separator = ';', QStringList* notes = nullptr,
                              const scoring::RecordFilter& filter = {});

} // namespace exporting
