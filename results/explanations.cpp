#include "results/explanations.h"

#include "ui/texts.h"

#include <QStringList>

namespace results {

Explanations parseExplanations(const QString& text) {
    Explanations result{};
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::size_t block = 0;
    int line = 0; // line within the current block
    for (const QString& raw : normalized.split(u'\n')) {
        const QString value = raw.trimmed();
        if (value.isEmpty()) {
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

const Explanations& explanations() {
    static const Explanations texts =
        parseExplanations(ui::resourceText(QStringLiteral("explanations.txt")));
    return texts;
}

const Explanation& explanationOf(int scale) {
    return explanations()[std::size_t(scale - 1)];
}

} // namespace results
