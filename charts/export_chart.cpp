#include "charts/export_chart.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "ui/ui_kit.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLabel>

namespace charts {

namespace {

const QString kFolder = QStringLiteral("saved_img\\");

bool fileExists(const QString& name) {
    return QFileInfo::exists(platform::resolvePath(name));
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
    int n = 1;
    for (;; ++n) {
        const QString bitmap = prefix + QString::number(n) + QStringLiteral(".bmp");
        if (!fileExists(bitmap) && !fileExists(kFolder + bitmap))
            return n;
    }
}

void ExportChart(const QImage& picture, const QString& prefix, const QString& heading,
                 const QStringList& lines, QLabel* statusLabel, QLabel* pathLabel) {
    const QByteArray bitmap = encodeBitmap(picture);
    const QString base = kFolder + prefix + QString::number(firstFreeNumber(prefix));
    const QString bitmapName = base + QStringLiteral(".bmp");
    platform::saveWholeFile(bitmapName, bitmap);
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
