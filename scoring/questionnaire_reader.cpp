#include "scoring/questionnaire_reader.h"

namespace scoring {

void QuestionnaireReader::open() {
    m_text.open(kQuestionnaireName);
}

QuestionnaireItem QuestionnaireReader::readItem() {
    QuestionnaireItem item;
    item.statement = m_text.readLine();
    item.a = m_text.readLine();
    item.b = m_text.readLine();
    item.c = m_text.readLine();
    return item;
}

void QuestionnaireReader::close() {
    m_text.close();
}

} // namespace scoring
