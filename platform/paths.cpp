#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform {

// A name as this file system writes it: the program's own names use backslashes; a full path
// (one the file dialog gave) is taken as it is, since a backslash may be part of a file name.
static QString withSlashes(const QString& name) {
    QString path = name;
    if (!QDir::isAbsolutePath(name))
        path.replace(u'\\', u'/');
    return path;
}

// The entry of `folder` ("" for the working directory, else ending in '/') called `component`
// in any letter case; an empty text when there is none.
static QString matchComponent(const QString& folder, const QString& component) {
    if (component == u"." || component == u".." || QFileInfo::exists(folder + component))
        return component;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

QString resolvePath(const QString& name) {
    const QString path = withSlashes(name);
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    // A full path is looked up from its root ("/", "C:/"), never from the working directory.
    QString folder = QDir::isAbsolutePath(path) ? path.left(path.indexOf(u'/') + 1) : QString();
    const QStringList parts = path.mid(folder.size()).split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString found = matchComponent(folder, parts[i]);
        if (found.isEmpty()) // nothing matches: the rest stays as written
            return folder + parts.mid(i).join(u'/');
        folder += found;
        if (i + 1 < parts.size())
            folder += u'/';
    }
    return folder;
}

QString displayPath(const QString& name) {
    return QDir::toNativeSeparators(withSlashes(name));
}

} // namespace platform
