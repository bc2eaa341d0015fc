#include "platform/error.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace platform {

Error::Error(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}

static bool folderMissing(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return !info.absoluteDir().exists();
}

QString errorText(int err, const QString& path) {
    switch (err) {
    case ENOENT:
        return folderMissing(path) ? QStringLiteral("Invalid filename")
                                   : QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EISDIR: // a folder where a file is expected, as the original platform says
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(err);
    }
}

void throwSystemError(int err, const QString& path) { throw Error(errorText(err, path)); }

void throwEndOfFile() { throw Error(QStringLiteral("Read beyond end of file")); }

QString systemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

QString cannotOpenText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
}

QString cannotCreateText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

QString invalidIntegerText(const QString& value) {
    return QStringLiteral("'%1' is not a valid integer value").arg(value);
}

} // namespace platform
