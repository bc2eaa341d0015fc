#include "charts/export_chart.h"

#include "ui/ui_kit.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

// Writes the bitmap file. Every failure, creating, writing or closing it, reads
// "Cannot create file "<full path>". <system's reason>".
void writeBitmap(const QString& name, const QByteArray& bytes) {
    const QString path = platform::resolvePath(name);
    const auto fail = [&path](int err) {
        const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        throw platform::Error(platform::cannotCreateText(shown, platform::systemReason(err)));
    };
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(errno);
    platform::FileHandle file(fd);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::write(file.fd(), bytes.constData() + done, std::size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            fail(put < 0 ? errno : ENOSPC);
        done += put;
    }
    if (const int err = file.close(); err != 0 && err != EINTR)
        fail(err);
}

QByteArray legendBytes(const QString& heading, const QStringList& lines) {
    QByteArray bytes = platform::toCp1251(heading) + "\r\n";
    for (const QString& line : lines)
        bytes += platform::toCp1251(line) + "\r\n";
    return bytes;
}

void writeLegend(const QString& name, const QByteArray& bytes) {
    platform::FileHandle file = platform::createFile(name);
    platform::writeAll(file, 0, bytes, name);
    platform::closeFile(file, name);
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
    writeBitmap(bitmapName, bitmap);
    try {
        writeLegend(base + QStringLiteral(".txt"), legendBytes(heading, lines));
    } catch (const platform::Error&) {
        setLabel(statusLabel, QStringLiteral("Невозможно сохранить файл"));
        return;
    }
    setLabel(statusLabel, QStringLiteral("График сохранён в:"));
    setLabel(pathLabel, platform::displayPath(bitmapName));
}

} // namespace charts
