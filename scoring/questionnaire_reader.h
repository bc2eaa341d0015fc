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

// Reads the questionnaire front to back, one statement at a time, while a test runs. The file
// stays open from the test window's creation to its close and is never read back. Past the
// end of a short file every text is empty, so the test still runs through all statements.
class QuestionnaireReader {
public:
    // Opens the questionnaire read-only; a missing or unreadable file throws the runtime's
    // text ("File not found", ...).
    void open();
    bool isOpen() const { return m_text.isOpen(); }
    // The next four lines.
    QuestionnaireItem readItem();
    void close();

private:
    platform::TextReader m_text;
};

} // namespace scoring
