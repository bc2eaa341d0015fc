#pragma once

#include "scoring/questionnaire_reader.h"

#include <QList>
#include <QString>

class QPagedPaintDevice;

namespace sheets {

// What the booklet prints: the instructions the test window shows, then every statement with
// its three answers as the questionnaire file holds them.
struct BookletText {
    QString instructions;
    QList<scoring::QuestionnaireItem> items;
};

// The instructions (the program's built-in text) and the 105 statements read from the
// questionnaire file in the working folder; a missing or damaged file throws its error.
BookletText loadBookletText();

// The booklet on A4 pages: a title and the instructions, then the statements numbered, each
// kept whole on one page, every page headed "не делайте пометок в буклете" and numbered.
bool paintBooklet(QPagedPaintDevice& device, const BookletText& text);
// The same as a vector PDF with its fonts embedded; fails with the file's error.
void writeBooklet(const QString& pdfPath, const BookletText& text);

} // namespace sheets
