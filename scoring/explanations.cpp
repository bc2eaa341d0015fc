#include "scoring/explanations.h"

#include <QStringList>

namespace scoring {

Explanations parseExplanations(const QString& text) {
    Explanations result{};
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::size_t block = 0;
    int line = 0; // line within the current block
    for (const QString& raw : normalized.split(u'\n')) {
        const QString value = raw.trimmed();
        if (value.isEmpty()) {
            // Any number of empty lines ends a block; those before the first block end none.
            if (line > 0) {
                ++block;
                line = 0;
            }
            continue;
        }
        if (block >= result.size())
            break;
        Explanation& entry = result[block];
        QString* fields[] = {&entry.title, &entry.poles, &entry.low, &entry.high};
        if (line < 4)
            *fields[line] = value;
        ++line;
    }
    return result;
}

} // namespace scoring
