#include "graphics/texts.h"

#include <QFile>

namespace graphics {

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/texts/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

const scoring::Explanations& explanations() {
    static const scoring::Explanations texts =
        scoring::parseExplanations(resourceText(QStringLiteral("explanations.txt")));
    return texts;
}

const scoring::Explanation& explanationOf(int scale) {
    return explanations()[std::size_t(scale - 1)];
}

} // namespace graphics
