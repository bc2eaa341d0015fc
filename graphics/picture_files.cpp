#include "graphics/picture_files.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>

namespace graphics {

namespace {

struct Decoded {
    qint64 size = -1;
    QDateTime modified;
    QByteArray format;
    QImage picture;
};

// By absolute path; a handful of files at most.
QHash<QString, Decoded>& decodedPictures() {
    static QHash<QString, Decoded> pictures;
    return pictures;
}

} // namespace

QImage loadPicture(const QString& name, const char* format, const QString& invalidText) {
    QFile file(platform::resolvePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        // The file layer says why the file cannot be opened, in the program's error words.
        platform::readPictureFile(name);
        throw platform::Error(invalidText); // opened there after all, but not here
    }
    const QString path = QDir::current().absoluteFilePath(file.fileName());
    const qint64 size = file.size();
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    Decoded& known = decodedPictures()[path];
    if (!known.picture.isNull() && known.size == size && known.modified == modified &&
        known.format == format)
        return known.picture;

    // Decoded straight from the file. The format is named and not guessed: guessing would ask
    // every image plugin installed whether it knows the file, loading each of them.
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    QImage picture;
    if (!reader.read(&picture)) {
        decodedPictures().remove(path);
        throw platform::Error(invalidText);
    }
    known = {size, modified, format, picture};
    return picture;
}

} // namespace graphics
