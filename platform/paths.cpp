#include "platform/paths.h"

#include <QDir>
#include <QDirIterator>
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
    // The folder is read once, unsorted (a large export folder would otherwise be sorted for
    // every new file); of several names differing in letter case, the first in name order wins.
    QString found;
    QDirIterator entries(folder.isEmpty() ? QStringLiteral(".") : folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString entry = entries.fileName();
        if (entry.compare(component, Qt::CaseInsensitive) != 0)
            continue;
        if (found.isEmpty() || entry < found) // all candidates are equal but for letter case
            found = entry;
    }
    return found;
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
