#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

FileHandle::~FileHandle() { close(); }

int FileHandle::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

int FileHandle::close() {
    if (m_fd < 0)
        return 0;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? 0 : errno;
}

static FileHandle openPath(const QString& name, int flags) {
    const QString path = resolvePath(name);
    const QByteArray local = path.toLocal8Bit();
    if (local.isEmpty())
        throwSystemError(ENOENT, path);
    const int fd = ::open(local.constData(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        throwSystemError(errno, path);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        throwSystemError(EACCES, path);
    }
    return FileHandle(fd);
}

FileHandle openFile(const QString& name, Access access) {
    return openPath(name, access == Access::ReadOnly ? O_RDONLY : O_RDWR);
}

FileHandle createFile(const QString& name) { return openPath(name, O_RDWR | O_CREAT | O_TRUNC); }

FileHandle openOrCreateFile(const QString& name) { return openPath(name, O_RDWR | O_CREAT); }

QByteArray readPictureFile(const QString& name) {
    const QByteArray local = resolvePath(name).toLocal8Bit();
    const int fd = local.isEmpty() ? -1 : ::open(local.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = local.isEmpty() ? ENOENT : errno;
        throw Error(cannotOpenText(displayPath(name), systemReason(err)));
    }
    const FileHandle file(fd);
    return readExactly(file, 0, fileSize(file, name), name);
}

qint64 fileSize(const FileHandle& file, const QString& name) {
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        throwSystemError(errno, name);
    return static_cast<qint64>(info.st_size);
}

QByteArray readExactly(const FileHandle& file, qint64 offset, qint64 size, const QString& name) {
    QByteArray bytes(size, '\0');
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(file.fd(), bytes.data() + done, size_t(size - done), offset + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwSystemError(errno, name);
        }
        if (got == 0)
            throwEndOfFile();
        done += got;
    }
    return bytes;
}

void writeAll(const FileHandle& file, qint64 offset, const QByteArray& bytes, const QString& name) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::pwrite(file.fd(), bytes.constData() + done, size_t(bytes.size() - done), offset + done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throwSystemError(errno, name);
        }
        if (put == 0)
            throwSystemError(ENOSPC, name);
        done += put;
    }
}

void truncateFile(const FileHandle& file, qint64 size, const QString& name) {
    int result;
    do {
        result = ::ftruncate(file.fd(), off_t(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        throwSystemError(errno, name);
}

void syncFile(const FileHandle& file, const QString& name) {
    if (::fdatasync(file.fd()) != 0 && errno != EINVAL && errno != EROFS)
        throwSystemError(errno, name); // EINVAL/EROFS: a file that cannot be synced at all
}

void closeFile(FileHandle& file, const QString& name) {
    const int err = file.close();
    if (err != 0 && err != EINTR) // after EINTR the descriptor is closed all the same
        throwSystemError(err, name);
}

// ---- TextReader

void TextReader::open(const QString& name) {
    close();
    m_file = openFile(name, Access::ReadOnly);
}

void TextReader::close() {
    m_file.close();
    m_buffer.clear();
    m_pos = 0;
    m_atEnd = false;
}

// Reads the next piece of an open file into `buffer`; false at the end of the file.
static bool readChunk(const FileHandle& file, QByteArray& buffer, qsizetype size) {
    buffer.resize(size);
    ssize_t got;
    do {
        got = ::read(file.fd(), buffer.data(), size_t(size));
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        throwSystemError(errno, QString());
    buffer.resize(got);
    return got > 0;
}

int TextReader::nextByte() {
    if (m_pos >= m_buffer.size()) {
        if (m_atEnd || !m_file.isOpen())
            return -1;
        m_pos = 0;
        if (!readChunk(m_file, m_buffer, 64 * 1024)) {
            m_atEnd = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

QString TextReader::readLine() {
    QByteArray line;
    bool cut = false; // a 0x1A byte ended the text: skip to the end of the line
    for (;;) {
        const int byte = nextByte();
        if (byte < 0 || byte == '\n')
            break;
        if (cut || byte == '\r') // every CR is dropped: before LF it is part of the line end
            continue;
        if (byte == 0x1A) {
            cut = true;
            continue;
        }
        line.append(char(byte));
    }
    return fromCp1251(line);
}

// ---- ByteReader

void ByteReader::open(const QString& name) {
    close();
    m_file = openFile(name, Access::ReadOnly);
}

void ByteReader::close() {
    m_file.close();
    m_buffer.clear();
    m_pos = 0;
}

unsigned char ByteReader::readByte() {
    if (m_pos >= m_buffer.size()) {
        m_pos = 0;
        if (!readChunk(m_file, m_buffer, 4096))
            throwEndOfFile();
    }
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

} // namespace platform
