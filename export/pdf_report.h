#pragma once

#include "scoring/explanations.h"
#include "scoring/types.h"

#include <QByteArray>
#include <QString>

namespace exporting {

// The one-page report of one subject, an A4 page drawn as vector graphics: the subject, the
// date of testing and how the answers were taken; the 17 scales with the factor's title, its
// poles and the sten; the profile chart on the shared chart geometry; and one line of
// interpretation per scale (stens 1-3 the low pole, 8-10 the high pole, 4-7 the middle). A
// damaged record's texts end at their first NUL; a sten outside 1 to 10 is left out of the
// table and the chart.
// `texts` are the explanation texts the results window shows (graphics::explanations()).
// Needs a QGuiApplication (fonts); the text is set in Liberation Sans, embedded.
QByteArray reportPdf(const scoring::ResultRecord& record, const scoring::Explanations& texts);

// Writes the report to `pdfPath`: the file appears whole or not at all (platform::OutputFile).
// Failures throw platform::Error with the program's text ("Disk full", ...).
void writeReport(const QString& pdfPath, const scoring::ResultRecord& record,
                 const scoring::Explanations& texts);

// The name of the report of record `index` of a result file: "<file stem>_<index>.pdf", so
// that record 0 of "result\09.12.2026.res" gives "09.12.2026_0.pdf".
QString reportFileName(const QString& resultFile, qint64 index);

// An explanation's pole-names line without the quotes the texts put around it.
QString polesText(const QString& poles);

} // namespace exporting
