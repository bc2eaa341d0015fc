#include "ui/texts.h"

#include <QFile>

namespace ui {

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/texts/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace ui
