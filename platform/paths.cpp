#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform {

static QString matchComponent(const QString& folder, const QString& component) {
    const QString exact = folder.isEmpty() ? component : folder + u'/' + component;
    if (component == u"." || component == u".." || QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return folder.isEmpty() ? entry : folder + u'/' + entry;
    }
    return QString();
}

QString resolvePath(const QString& name) {
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    const bool absolute = path.startsWith(u'/');
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString folder = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString base = (folder == u"/") ? QString() : folder;
        QString found = matchComponent(base, parts[i]);
        if (found.isEmpty()) {
            // Nothing matches: keep the rest as written.
            QString rest = parts.mid(i).join(u'/');
            if (folder.isEmpty())
                return rest;
            return folder.endsWith(u'/') ? folder + rest : folder + u'/' + rest;
        }
        if (absolute && base.isEmpty())
            found.prepend(u'/');
        folder = found;
    }
    return folder;
}

QString displayPath(const QString& name) {
    QString path = name;
    path.replace(u'\\', u'/');
    return QDir::toNativeSeparators(path);
}

} // namespace platform
