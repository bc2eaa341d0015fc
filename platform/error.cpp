#include "platform/error.h"

#include "platform/os_files.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

Error::Error(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}

static bool folderMissing(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return !info.absoluteDir().exists();
}

static QString faultText(FileFault fault, int code, const QString& path) {
    switch (fault) {
    case FileFault::NotFound:
        return folderMissing(path) ? QStringLiteral("Invalid filename")
                                   : QStringLiteral("File not found");
    case FileFault::InvalidName:
        return QStringLiteral("Invalid filename");
    case FileFault::TooManyOpenFiles:
        return QStringLiteral("Too many open files");
    case FileFault::AccessDenied:
        return QStringLiteral("File access denied");
    case FileFault::DiskFull:
        return QStringLiteral("Disk full");
    case FileFault::Other:
        break;
    }
    return ioErrorText(code);
}

QString errorText(int code, const QString& path) {
    return faultText(os::faultOf(code), code, path);
}

void throwSystemError(int code, const QString& path) {
    throw Error(errorText(code, path));
}

void throwFileError(FileFault fault, const QString& path) {
    throw Error(faultText(fault, os::generalIoError(), path));
}

QString ioErrorText(int code) {
    return QStringLiteral("I/O error %1").arg(code);
}

void throwEndOfFile() {
    throw Error(QStringLiteral("Read beyond end of file"));
}

QString systemReason(int code) {
    return os::reasonText(code);
}

QString cannotOpenText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
}

QString cannotCreateText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

QString notRegularFileText() {
    return QStringLiteral("не обычный файл (папка, канал или устройство), он не заменяется");
}

QString invalidIntegerText(const QString& value) {
    return QStringLiteral("'%1' is not a valid integer value").arg(value);
}

} // namespace platform
