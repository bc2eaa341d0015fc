#include "collect/answer_keys.h"

#include <QKeyEvent>
#include <QString>

namespace collect {

int answerOfKey(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const QString text = event.text().toLower();
    if (text.size() != 1)
        return 0;
    static const QString keys[3] = {QStringLiteral("1aаф"), QStringLiteral("2bби"),
                                    QStringLiteral("3cвс")};
    for (int answer = 1; answer <= 3; ++answer) {
        if (keys[answer - 1].contains(text[0]))
            return answer;
    }
    return 0;
}

} // namespace collect
