#include "charts/export_chart.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QDir>
#include <QHash>

namespace charts {

namespace {

const QString kFolder = QStringLiteral("saved_img\\");

// A folder read once: where it is, and its entries by their case-folded names.
struct Listing {
    QString path; // ending in '/', or empty for the working directory
    QHash<QString, QString> entries;

    bool contains(const QString& name) const { return entries.contains(name.toCaseFolded()); }
    // The path of the entry called `name` in any letter case; of several, the first in name
    // order, as the program's other lookups take it. A new name is taken as it is.
    QString pathOf(const QString& name) const {
        return path + entries.value(name.toCaseFolded(), name);
    }
};

Listing listFolder(const QString& folder) {
    Listing listing;
    listing.path = platform::resolvePath(folder);
    if (!listing.path.isEmpty() && !listing.path.endsWith(u'/'))
        listing.path += u'/';
    const QDir dir(listing.path.isEmpty() ? QStringLiteral(".") : listing.path);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries) {
        QString& kept = listing.entries[entry.toCaseFolded()];
        if (kept.isEmpty() || entry < kept)
            kept = entry;
    }
    return listing;
}

int firstFreeNumber(const QString& prefix, const Listing& workingDirectory,
                    const Listing& exportFolder) {
    for (int n = 1;; ++n) {
        const QString bitmap = prefix + QString::number(n) + QStringLiteral(".bmp");
        if (!workingDirectory.contains(bitmap) && !exportFolder.contains(bitmap))
            return n;
    }
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
