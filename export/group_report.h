#pragma once

#include "scoring/explanations.h"
#include "scoring/group_statistics.h"

#include <QByteArray>
#include <QString>

namespace exporting {

// The class report ("справка по классу"), A4 pages drawn as vector graphics with embedded
// fonts and searchable text: the group, course, dates of testing and number of students; the
// group's mean profile on the profile chart with a band of one standard deviation either side;
// the statistics of every scale with the factor's title and poles from `texts`; the students
// whose MD sten is 8–10, whose answers are read with care; and for each scale the students in
// the low and in the high band. `anonymous` leaves every name out (the counts stay), for a
// report handed to a teacher. Long lists run onto further pages. Needs a QGuiApplication.
QByteArray groupReportPdf(const scoring::ClassSummary& summary, const scoring::Explanations& texts,
                          bool anonymous);

// Writes the report to `pdfPath`: the file appears whole or not at all. Failures throw
// platform::Error.
void writeGroupReport(const QString& pdfPath, const scoring::ClassSummary& summary,
                      const scoring::Explanations& texts, bool anonymous);

} // namespace exporting
