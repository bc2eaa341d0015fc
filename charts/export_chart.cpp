#include "charts/export_chart.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "ui/ui_kit.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QSet>

namespace charts {

namespace {

const QString kFolder = QStringLiteral("saved_img\\");

// The names in a folder (found in any letter case), case-folded. A folder is listed once per
// export, however many numbers are tried against it.
QSet<QString> foldedNames(const QString& folder) {
    const QString path = platform::resolvePath(folder);
    const QDir dir(path.isEmpty() ? QStringLiteral(".") : path);
    QSet<QString> names;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries)
        names.insert(entry.toCaseFolded());
    return names;
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

void setLabel(QLabel* label, const QString& text) {
    if (!label)
        return;
    ui::setText(label, text);
}

} // namespace

int firstFreeNumber(const QString& prefix) {
    // A name blocks its number in any letter case, as the program's names are matched without
    // regard to case (platform/paths.h).
    const QSet<QString> workingDirectory = foldedNames(QString());
    const QSet<QString> exportFolder = foldedNames(kFolder);
    for (int n = 1;; ++n) {
        const QString bitmap =
            (prefix + QString::number(n) + QStringLiteral(".bmp")).toCaseFolded();
        if (!workingDirectory.contains(bitmap) && !exportFolder.contains(bitmap))
            return n;
    }
}

void ExportChart(const QImage& picture, const QString& prefix, const QString& heading,
                 const QStringList& lines, QLabel* statusLabel, QLabel* pathLabel) {
    const QByteArray bitmap = encodeBitmap(picture);
    const QString base = kFolder + prefix + QString::number(firstFreeNumber(prefix));
    const QString bitmapName = base + QStringLiteral(".bmp");
    // Created as a new file: a name taken meanwhile, or by a link, is never written over.
    platform::saveNewFile(bitmapName, bitmap);
    try {
        platform::saveWholeFile(base + QStringLiteral(".txt"), legendBytes(heading, lines));
    } catch (const platform::Error&) {
        setLabel(statusLabel, QStringLiteral("Невозможно сохранить файл"));
        return;
    }
    setLabel(statusLabel, QStringLiteral("График сохранён в:"));
    setLabel(pathLabel, platform::displayPath(bitmapName));
}

} // namespace charts
