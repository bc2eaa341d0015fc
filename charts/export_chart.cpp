#include "charts/export_chart.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QDir>
#include <QStringView>
#include <vector>

namespace charts {

namespace {

const QString kFolder = QStringLiteral("saved_img\\");

// A folder read once: where it is, and the names in it.
struct Listing {
    QString path; // ending in '/', or empty for the working directory
    QStringList names;

    // The path of the entry called `name` in any letter case; of several, the first in name
    // order, as the program's other lookups take it. A new name is taken as it is.
    QString pathOf(const QString& name) const {
        QString found;
        for (const QString& entry : names) {
            if (entry.size() == name.size() && entry.compare(name, Qt::CaseInsensitive) == 0 &&
                (found.isEmpty() || entry < found))
                found = entry;
        }
        return path + (found.isEmpty() ? name : found);
    }
};

Listing listFolder(const QString& folder) {
    Listing listing;
    listing.path = platform::resolvePath(folder);
    if (!listing.path.isEmpty() && !listing.path.endsWith(u'/'))
        listing.path += u'/';
    const QDir dir(listing.path.isEmpty() ? QStringLiteral(".") : listing.path);
    listing.names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    return listing;
}

// The number n of a name "<prefix><n>.bmp" in any letter case, n written as QString::number
// writes it; 0 for any other name.
int bitmapNumber(QStringView name, const QString& prefix) {
    static const QString kExtension = QStringLiteral(".bmp");
    if (name.size() <= prefix.size() + kExtension.size() ||
        !name.startsWith(prefix, Qt::CaseInsensitive) ||
        !name.endsWith(kExtension, Qt::CaseInsensitive))
        return 0;
    const QStringView digits = name.sliced(prefix.size()).chopped(kExtension.size());
    if (digits.size() > 9 || digits.front() == u'0')
        return 0;
    for (const QChar digit : digits) {
        if (digit < u'0' || digit > u'9')
            return 0;
    }
    return digits.toInt();
}

// The first n that no "<prefix><n>.bmp" of the folders takes. Every name is looked at once,
// and only names of that form are read further.
int firstFreeNumber(const QString& prefix, const Listing& workingDirectory,
                    const Listing& exportFolder) {
    std::vector<bool> taken(
        std::size_t(workingDirectory.names.size() + exportFolder.names.size() + 2));
    for (const Listing* folder : {&workingDirectory, &exportFolder}) {
        for (const QString& name : folder->names) {
            const int n = bitmapNumber(name, prefix);
            if (n > 0 && std::size_t(n) < taken.size())
                taken[std::size_t(n)] = true;
        }
    }
    int n = 1;
    while (taken[std::size_t(n)])
        ++n;
    return n;
}

QByteArray encodeBitmap(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "BMP"))
        throw platform::Error(QStringLiteral("Bitmap image is not valid"));
    return bytes;
}

QByteArray legendBytes(const QString& heading, const QStringList& lines) {
    QByteArray bytes = platform::toCp1251(heading) + "\r\n";
    for (const QString& line : lines)
        bytes += platform::toCp1251(line) + "\r\n";
    return bytes;
}

} // namespace

// A name blocks its number in any letter case, so that a folder shared with a file system
// that ignores letter case never holds two charts of one number.
int firstFreeNumber(const QString& prefix) {
    return firstFreeNumber(prefix, listFolder(QString()), listFolder(kFolder));
}

ExportedChart exportChart(const QImage& picture, const QString& prefix, const QString& heading,
                          const QStringList& lines) {
    const QByteArray bitmap = encodeBitmap(picture);
    const Listing exportFolder = listFolder(kFolder);
    const QString base =
        prefix + QString::number(firstFreeNumber(prefix, listFolder(QString()), exportFolder));
    const QString bitmapName = base + QStringLiteral(".bmp");
    const QString legendName = base + QStringLiteral(".txt");
    // Created as a new file: a name taken meanwhile, or by a link, is never written over.
    platform::saveNewFile(exportFolder.pathOf(bitmapName), bitmap, platform::NameLookup::Exact);
    ExportedChart exported{kFolder + bitmapName, QString()};
    try {
        platform::saveWholeFile(exportFolder.pathOf(legendName), legendBytes(heading, lines),
                                platform::NameLookup::Exact);
        exported.legend = kFolder + legendName;
    } catch (const platform::Error&) {
        // The bitmap stands; the window says the legend is missing.
    }
    return exported;
}

} // namespace charts
