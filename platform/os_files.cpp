#include "platform/os_files.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform::os {

#ifdef Q_OS_WIN

namespace {

// Qt's handle() is a C runtime descriptor; the Win32 calls want the handle behind it.
HANDLE handleOf(QFile& file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}

// Every appender locks this one byte far past any record. Windows locks are mandatory: a lock
// over the records would stop other computers from reading them, while a lock past the end
// holds up no one but the other appenders.
OVERLAPPED lockedByte() {
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFEu;
    at.OffsetHigh = 0x7FFFFFFFu;
    return at;
}

} // namespace

OpenOutcome openRegularFile(QFile& file, QIODevice::OpenMode mode, Links links, int& code) {
    // Only real links count: other reparse points (a file kept in the cloud, a deduplicated
    // file) are ordinary files to the user.
    const QFileInfo name(file.fileName());
    if (!(mode & QIODevice::NewOnly)) { // a new file fails on any name that exists, link or not
        if (links == Links::Refuse && (name.isSymbolicLink() || name.isJunction())) {
            code = ERROR_ACCESS_DENIED;
            return OpenOutcome::Link;
        }
        if (name.isDir()) {
            code = ERROR_ACCESS_DENIED;
            return OpenOutcome::NotAFile;
        }
    }
    clearLastError();
    if (!file.open(mode | QIODevice::Unbuffered)) {
        code = lastError();
        return OpenOutcome::Failed;
    }
    if (GetFileType(handleOf(file)) != FILE_TYPE_DISK) { // a pipe, a console, a device
        file.close();
        code = ERROR_ACCESS_DENIED;
        return OpenOutcome::NotAFile;
    }
    return OpenOutcome::Opened;
}

int linkRefusalError() {
    return ERROR_ACCESS_DENIED;
}

void ignoreFileSizeSignal() {}

int replaceFile(const QString& from, const QString& to) {
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                    reinterpret_cast<const wchar_t*>(to.utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return int(GetLastError());
}

bool isSameFile(const QString& first, const QString& second) {
    const QString one = QFileInfo(first).canonicalFilePath();
    return !one.isEmpty() &&
           one.compare(QFileInfo(second).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

int lastError() {
    return int(GetLastError());
}

void clearLastError() {
    SetLastError(ERROR_SUCCESS);
}

int generalIoError() {
    return ERROR_GEN_FAILURE;
}

int notFoundError() {
    return ERROR_FILE_NOT_FOUND;
}

bool isInterruption(int) {
    return false;
}

FileFault faultOf(int code) {
    switch (DWORD(code)) {
    case ERROR_FILE_NOT_FOUND:
        return FileFault::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return FileFault::InvalidName;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileFault::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileFault::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFault::DiskFull;
    default:
        return FileFault::Other;
    }
}

QString reasonText(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, int(length)) : ioErrorText(code);
    LocalFree(buffer);
    // The system ends its words with a full stop and a line end; the error texts show neither.
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == u'.'))
        text.chop(1);
    return text;
}

int flushToDisk(QFile& file) {
    if (FlushFileBuffers(handleOf(file)))
        return 0;
    const DWORD code = GetLastError();
    return code == ERROR_INVALID_FUNCTION ? 0 : int(code); // a device that cannot be flushed
}

int resize(QFile& file, qint64 size) {
    // Sets the end of the file without moving its position, which Qt keeps track of.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    if (SetFileInformationByHandle(handleOf(file), FileEndOfFileInfo, &end, sizeof end))
        return 0;
    return int(GetLastError());
}

LockTry tryLock(QFile& file, int& code) {
    OVERLAPPED at = lockedByte();
    if (LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &at))
        return LockTry::Taken;
    code = int(GetLastError());
    switch (DWORD(code)) {
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING:
        return LockTry::Busy;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return LockTry::Unsupported;
    default:
        return LockTry::Failed;
    }
}

void unlock(QFile& file) {
    OVERLAPPED at = lockedByte();
    UnlockFileEx(handleOf(file), 0, 1, 0, &at);
}

#else // POSIX

namespace {

int openFlags(QIODevice::OpenMode mode, Links links) {
    // Without waiting: a FIFO would otherwise hold the open up until someone writes into it.
    int flags = O_CLOEXEC | O_NONBLOCK;
    const bool reads = mode.testFlag(QIODevice::ReadOnly);
    const bool writes = mode.testFlag(QIODevice::WriteOnly) || mode.testFlag(QIODevice::NewOnly);
    flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    if (writes && !mode.testFlag(QIODevice::ExistingOnly))
        flags |= O_CREAT;
    if (mode.testFlag(QIODevice::NewOnly))
        flags |= O_EXCL; // fails on any name that exists, a link pointing nowhere included
    if (mode.testFlag(QIODevice::Truncate) ||
        (writes && !reads && !(mode & (QIODevice::Append | QIODevice::NewOnly))))
        flags |= O_TRUNC; // as Qt's WriteOnly does
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    return flags;
}

bool isSymbolicLink(const char* path) {
    struct stat status {};
    return ::lstat(path, &status) == 0 && S_ISLNK(status.st_mode);
}

} // namespace

OpenOutcome openRegularFile(QFile& file, QIODevice::OpenMode mode, Links links, int& code) {
    const QByteArray path = QFile::encodeName(file.fileName());
    // A special file is not even opened where that can be seen beforehand: opening a device may
    // do something. The check after opening covers a file replaced in between.
    struct stat status {};
    if (!mode.testFlag(QIODevice::NewOnly) && ::stat(path.constData(), &status) == 0 &&
        !S_ISREG(status.st_mode) && !(links == Links::Refuse && isSymbolicLink(path.constData()))) {
        code = S_ISDIR(status.st_mode) ? EISDIR : ENXIO;
        return OpenOutcome::NotAFile;
    }
    int fd;
    do {
        fd = ::open(path.constData(), openFlags(mode, links), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        code = errno;
        if (code == ENXIO) // a FIFO no one reads, a socket
            return OpenOutcome::NotAFile;
        // O_NOFOLLOW refuses a link with ELOOP (EMLINK on some BSDs).
        if (links == Links::Refuse && (code == ELOOP || code == EMLINK) &&
            isSymbolicLink(path.constData()))
            return OpenOutcome::Link;
        return OpenOutcome::Failed;
    }
    const auto refuse = [&](int number, OpenOutcome outcome) {
        code = number;
        ::close(fd);
        return outcome;
    };
    if (::fstat(fd, &status) != 0)
        return refuse(errno, OpenOutcome::Failed);
    if (!S_ISREG(status.st_mode))
        return refuse(S_ISDIR(status.st_mode) ? EISDIR : ENXIO, OpenOutcome::NotAFile);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
        return refuse(errno, OpenOutcome::Failed);
    const QIODevice::OpenMode kept = mode & (QIODevice::ReadWrite | QIODevice::Append);
    if (!file.open(fd, kept | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return refuse(EIO, OpenOutcome::Failed);
    return OpenOutcome::Opened;
}

int linkRefusalError() {
    return ELOOP;
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

int replaceFile(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
               ? 0
               : errno;
}

bool isSameFile(const QString& first, const QString& second) {
    struct stat one {};
    struct stat two {};
    return ::stat(QFile::encodeName(first).constData(), &one) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &two) == 0 && one.st_dev == two.st_dev &&
           one.st_ino == two.st_ino;
}

int lastError() {
    return errno;
}

void clearLastError() {
    errno = 0;
}

int generalIoError() {
    return EIO;
}

int notFoundError() {
    return ENOENT;
}

bool isInterruption(int code) {
    return code == EINTR;
}

FileFault faultOf(int code) {
    switch (code) {
    case ENOENT:
        return FileFault::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return FileFault::InvalidName;
    case EMFILE:
    case ENFILE:
        return FileFault::TooManyOpenFiles;
    case EISDIR: // a folder where a file is expected reads "File access denied"
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFault::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileFault::DiskFull;
    default:
        return FileFault::Other;
    }
}

QString reasonText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

int flushToDisk(QFile& file) {
    int result;
    do {
#ifdef Q_OS_DARWIN
        result = ::fsync(file.handle());
#else
        result = ::fdatasync(file.handle());
#endif
    } while (result != 0 && errno == EINTR);
    if (result == 0 || errno == EINVAL || errno == EROFS) // a file that cannot be synced at all
        return 0;
    return errno;
}

int resize(QFile& file, qint64 size) {
    int result;
    do {
        result = ::ftruncate(file.handle(), off_t(size));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// A record lock over the whole file, however far it grows. POSIX keeps one such lock per
// process and file, and closing any handle of the file drops it: a locked file is opened once.
static struct flock wholeFile(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 0;
    return range;
}

LockTry tryLock(QFile& file, int& code) {
    struct flock range = wholeFile(F_WRLCK);
    if (::fcntl(file.handle(), F_SETLK, &range) == 0)
        return LockTry::Taken;
    code = errno;
    switch (code) {
    case EAGAIN:
    case EACCES:
    case EINTR:
        return LockTry::Busy;
    case ENOLCK:
    case EOPNOTSUPP:
    case ENOSYS:
        return LockTry::Unsupported;
    default:
        return LockTry::Failed;
    }
}

void unlock(QFile& file) {
    struct flock range = wholeFile(F_UNLCK);
    ::fcntl(file.handle(), F_SETLK, &range);
}

#endif

} // namespace platform::os
