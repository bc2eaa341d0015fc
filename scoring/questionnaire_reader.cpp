#include "scoring/questionnaire_reader.h"

#include "platform/error.h"
#include "scoring/types.h"

namespace scoring {

QString damagedQuestionnaireText(int line) {
    return QStringLiteral("Файл опросника %1 повреждён: строка %2 длиннее %3 байт.")
        .arg(kQuestionnaireName)
        .arg(line)
        .arg(kLongestQuestionnaireLine);
}

void QuestionnaireReader::open() {
    m_text.open(kQuestionnaireName);
    m_line = 0;
    try {
        for (int s = 0; s < scoring::kItems; ++s)
            readItem();
        m_text.rewind();
        m_line = 0;
    } catch (...) {
        close();
        throw;
    }
}

QString QuestionnaireReader::readLine() {
    ++m_line;
    std::optional<QString> line = m_text.readLineUpTo(kLongestQuestionnaireLine);
    if (!line)
        throw platform::Error(damagedQuestionnaireText(m_line));
    return *line;
}

QuestionnaireItem QuestionnaireReader::readItem() {
    QuestionnaireItem item;
    item.statement = readLine();
    item.a = readLine();
    item.b = readLine();
    item.c = readLine();
    return item;
}

void QuestionnaireReader::close() {
    m_text.close();
}

} // namespace scoring
