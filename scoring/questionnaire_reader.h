#pragma once

#include "platform/files.h"

#include <QString>

namespace scoring {

// The questionnaire file: four lines a statement (statement, answers a, b and c).
inline const QString kQuestionnaireName = QStringLiteral("Data\\data.kdt");

// One statement of the questionnaire as the test window shows it.
struct QuestionnaireItem {
    QString statement;
    QString a;
    QString b;
    QString c;
};

// The longest line a questionnaire can hold, in bytes: far more than any statement needs. A
// longer line means a damaged file (no window could show a megabyte-long statement anyway).
inline constexpr qsizetype kLongestQuestionnaireLine = 4000;

// The message for a questionnaire whose line `line` (counted from 1) is longer than any
// statement can be.
QString damagedQuestionnaireText(int line);

// Reads the questionnaire front to back, one statement at a time, while a test runs. The file
// stays open from the test window's creation to its close. Past the end of a short file every
// text is empty, so the test still runs through all statements.
class QuestionnaireReader {
public:
    // Opens the questionnaire read-only; a missing or unreadable file throws the program's file
    // error text ("File not found", ...). The lines the test will show are checked first, so a
    // damaged file is refused here with damagedQuestionnaireText, before a test begins, not
    // in the middle of one.
    void open();
    bool isOpen() const { return m_text.isOpen(); }
    // The next four lines.
    QuestionnaireItem readItem();
    void close();

private:
    QString readLine();
    platform::TextReader m_text;
    int m_line = 0; // lines read so far
};

} // namespace scoring
