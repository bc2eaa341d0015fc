#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/os_files.h"
#include "platform/paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

namespace platform {

FileHandle::FileHandle() = default;
FileHandle::FileHandle(std::unique_ptr<QFile> file) : m_file(std::move(file)) {}
FileHandle::FileHandle(FileHandle&& other) noexcept = default;
FileHandle& FileHandle::operator=(FileHandle&& other) noexcept = default;
FileHandle::~FileHandle() = default;

bool FileHandle::isOpen() const {
    return m_file && m_file->isOpen();
}

void FileHandle::close() {
    m_file.reset();
}

namespace {

// Why a file could not be opened.
struct OpenFailure {
    FileFault fault = FileFault::Other;
    int code = 0;
    bool notAFile = false; // a folder, a FIFO, a device...
};

// The file at `path`, opened for reading and writing straight to the system (no buffer of Qt's
// in between); nothing when it cannot be opened, and why in `failure`. Only a regular file is
// opened, and one opened to be written never through a symbolic link: a link at that name
// reads "File access denied".
std::unique_ptr<QFile> tryOpen(const QString& path, QIODevice::OpenMode mode,
                               OpenFailure& failure) {
    if (path.isEmpty()) {
        failure = {FileFault::NotFound, os::notFoundError()};
        return nullptr;
    }
    auto file = std::make_unique<QFile>(path);
    const os::Links links =
        mode.testFlag(QIODevice::WriteOnly) ? os::Links::Refuse : os::Links::Follow;
    int code = 0;
    switch (os::openRegularFile(*file, mode, links, code)) {
    case os::OpenOutcome::Opened:
        return file;
    case os::OpenOutcome::NotAFile:
        failure = {FileFault::AccessDenied, code, true};
        break;
    case os::OpenOutcome::Link:
        failure = {FileFault::AccessDenied, code};
        break;
    case os::OpenOutcome::Failed:
        if (QFileInfo(path).isDir()) // Qt refuses a folder opened for reading without the system
            failure = {FileFault::AccessDenied, code, true};
        else if (code == 0)
            failure = {FileFault::Other, os::generalIoError()};
        else
            failure = {os::faultOf(code), code};
        break;
    }
    return nullptr;
}

FileHandle openPath(const QString& name, QIODevice::OpenMode mode) {
    const QString path = resolvePath(name);
    OpenFailure failure;
    auto file = tryOpen(path, mode, failure);
    if (!file) {
        if (failure.fault == FileFault::Other)
            throwSystemError(failure.code, path);
        throwFileError(failure.fault, path);
    }
    return FileHandle(std::move(file));
}

// The system's number for the failure of the file call just made.
int failureCode() {
    const int code = os::lastError();
    return code != 0 ? code : os::generalIoError();
}

} // namespace

FileHandle openFile(const QString& name, Access access) {
    return openPath(name, access == Access::ReadOnly
                              ? QIODevice::ReadOnly
                              : QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

FileHandle createFile(const QString& name) {
    return openPath(name, QIODevice::ReadWrite | QIODevice::Truncate);
}

FileHandle openOrCreateFile(const QString& name) {
    return openPath(name, QIODevice::ReadWrite);
}

QByteArray readPictureFile(const QString& name) {
    const QString path = resolvePath(name);
    OpenFailure failure;
    auto file = tryOpen(path, QIODevice::ReadOnly, failure);
    if (!file) {
        if (failure.notAFile)
            throwFileError(FileFault::AccessDenied, path); // as a folder read as a file says
        throw Error(cannotOpenText(displayPath(name), systemReason(failure.code)));
    }
    const FileHandle handle(std::move(file));
    return readExactly(handle, 0, fileSize(handle, name), name);
}

namespace {

[[noreturn]] void throwCannotCreate(const QString& path, int code) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    throw Error(cannotCreateText(shown, systemReason(code)));
}

} // namespace

// ---- OutputFile

namespace {

// Pieces smaller than this are gathered before they go to the system.
constexpr qsizetype kOutputBuffer = 256 * 1024;

} // namespace

OutputFile::OutputFile(const QString& name) : m_target(name) {}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::open() {
    discard();
    const QFileInfo link(m_target);
    if (link.isSymLink() && link.exists()) // the file it points to is the one replaced
        m_target = link.canonicalFilePath();
    const QFileInfo target(m_target);
    if (target.exists() && !target.isFile()) {
        m_failure = 0;
        throw Error(notRegularFileText());
    }
    // A fresh name beside the target, never one that exists (not even as a dangling link).
    for (int attempt = 0;; ++attempt) {
        const QString candidate =
            m_target + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF,
                                                 6, 16, QChar(u'0'));
        auto file = std::make_unique<QFile>(candidate);
        int code = 0;
        const os::OpenOutcome outcome = os::openRegularFile(
            *file, QIODevice::WriteOnly | QIODevice::NewOnly, os::Links::Refuse, code);
        if (outcome == os::OpenOutcome::Opened) {
            m_file = std::move(file);
            m_temporary = candidate;
            break;
        }
        const QFileInfo taken(candidate);
        if (attempt >= 100 || !(taken.exists() || taken.isSymLink()))
            fail(code != 0 ? code : os::generalIoError());
    }
    if (target.exists()) // the new file keeps the permissions of the one it replaces
        m_file->setPermissions(target.permissions());
    m_buffer.reserve(kOutputBuffer);
}

void OutputFile::write(QByteArrayView bytes) {
    if (m_buffer.size() + bytes.size() > kOutputBuffer && !m_buffer.isEmpty()) {
        writeOut(m_buffer);
        m_buffer.clear();
    }
    if (bytes.size() >= kOutputBuffer)
        writeOut(bytes);
    else
        m_buffer.append(bytes);
}

void OutputFile::writeOut(QByteArrayView bytes) {
    if (!m_file) // not opened, or failed already: the first failure stands
        fail(m_failure != 0 ? m_failure : os::generalIoError());
    qint64 done = 0;
    while (done < bytes.size()) {
        os::clearLastError();
        const qint64 put = m_file->write(bytes.data() + done, bytes.size() - done);
        if (put < 0 && os::isInterruption(os::lastError()))
            continue;
        if (put <= 0)
            fail(put < 0 ? failureCode() : os::generalIoError());
        done += put;
    }
}

void OutputFile::commit() {
    writeOut(m_buffer);
    m_buffer.clear();
    if (const int code = os::flushToDisk(*m_file); code != 0)
        fail(code);
    os::clearLastError();
    m_file->close();
    if (m_file->error() != QFileDevice::NoError)
        fail(failureCode());
    if (const int code = os::replaceFile(m_temporary, m_target); code != 0)
        fail(code);
    m_file.reset();
    m_temporary.clear();
}

void OutputFile::fail(int code) {
    m_failure = code;
    discard();
    throw Error(errorText(code, m_target));
}

void OutputFile::discard() {
    m_buffer.clear();
    if (m_temporary.isEmpty())
        return;
    m_file.reset(); // closes it
    QFile::remove(m_temporary);
    m_temporary.clear();
}

bool isSameFile(const QString& first, const QString& second) {
    return os::isSameFile(first, second);
}

// ---- Whole files of the program's own names

void saveWholeFile(const QString& name, const QByteArray& bytes, NameLookup lookup) {
    const QString path = lookup == NameLookup::Exact ? name : resolvePath(name);
    // A link is not followed here: the content replaces the name itself.
    const QFileInfo info(path);
    if (info.isSymbolicLink() || info.isJunction())
        throwCannotCreate(path, os::linkRefusalError());
    OutputFile file(path);
    try {
        file.open();
        file.write(bytes);
        file.commit();
    } catch (const Error& error) {
        if (file.failureNumber() != 0)
            throwCannotCreate(path, file.failureNumber());
        const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        throw Error(cannotCreateText(shown, error.text()));
    }
}

void saveNewFile(const QString& name, const QByteArray& bytes, NameLookup lookup) {
    const QString path = lookup == NameLookup::Exact ? name : resolvePath(name);
    QFile file(path);
    int code = 0;
    if (os::openRegularFile(file, QIODevice::WriteOnly | QIODevice::NewOnly, os::Links::Refuse,
                            code) != os::OpenOutcome::Opened)
        throwCannotCreate(path, code != 0 ? code : os::generalIoError());
    // From here the file is this call's own: a failure removes it again.
    const auto fail = [&](int failure) {
        file.close();
        QFile::remove(path);
        throwCannotCreate(path, failure);
    };
    qint64 done = 0;
    while (done < bytes.size()) {
        os::clearLastError();
        const qint64 put = file.write(bytes.constData() + done, bytes.size() - done);
        if (put < 0 && os::isInterruption(os::lastError()))
            continue;
        if (put <= 0)
            fail(put < 0 ? failureCode() : os::generalIoError());
        done += put;
    }
    if (const int failure = os::flushToDisk(file); failure != 0)
        fail(failure);
    os::clearLastError();
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(failureCode());
}

qint64 fileSize(const FileHandle& file, const QString& name) {
    os::clearLastError();
    const qint64 size = file.device().size();
    if (size < 0)
        throwSystemError(failureCode(), name);
    return size;
}

QByteArray readExactly(const FileHandle& file, qint64 offset, qint64 size, const QString& name) {
    QByteArray bytes(size, '\0');
    QFile& device = file.device();
    os::clearLastError();
    if (size > 0 && !device.seek(offset))
        throwSystemError(failureCode(), name);
    qint64 done = 0;
    while (done < size) {
        os::clearLastError();
        const qint64 got = device.read(bytes.data() + done, size - done);
        if (got < 0) {
            const int code = failureCode();
            if (os::isInterruption(code))
                continue;
            throwSystemError(code, name);
        }
        if (got == 0)
            throwEndOfFile();
        done += got;
    }
    return bytes;
}

void writeAll(const FileHandle& file, qint64 offset, const QByteArray& bytes, const QString& name) {
    QFile& device = file.device();
    os::clearLastError();
    if (!bytes.isEmpty() && !device.seek(offset))
        throwSystemError(failureCode(), name);
    qint64 done = 0;
    while (done < bytes.size()) {
        os::clearLastError();
        const qint64 put = device.write(bytes.constData() + done, bytes.size() - done);
        if (put < 0) {
            const int code = failureCode();
            if (os::isInterruption(code))
                continue;
            throwSystemError(code, name);
        }
        if (put == 0)
            throwFileError(FileFault::DiskFull, name);
        done += put;
    }
}

void truncateFile(const FileHandle& file, qint64 size, const QString& name) {
    if (const int code = os::resize(file.device(), size); code != 0)
        throwSystemError(code, name);
}

void syncFile(const FileHandle& file, const QString& name) {
    if (const int code = os::flushToDisk(file.device()); code != 0)
        throwSystemError(code, name);
}

void closeFile(FileHandle& file, const QString& name) {
    if (!file.isOpen())
        return;
    QFile& device = file.device();
    os::clearLastError();
    device.close();
    const bool failed = device.error() != QFileDevice::NoError;
    const int code = failed ? failureCode() : 0;
    file.close();
    if (failed && !os::isInterruption(code)) // after EINTR the file is closed all the same
        throwSystemError(code, name);
}

// ---- FileLock

FileLock::FileLock(const FileHandle& file, const QString& name, const LockWait& wait) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        int code = 0;
        switch (os::tryLock(file.device(), code)) {
        case os::LockTry::Taken:
            m_locked = &file.device();
            return;
        case os::LockTry::Unsupported:
            return;
        case os::LockTry::Failed:
            throwSystemError(code, name);
        case os::LockTry::Busy:
            break;
        }
        if (waited.elapsed() >= wait.limit.count())
            throw Error(ioErrorText(code));
        if (wait.whileWaiting)
            wait.whileWaiting();
        // Waiters sleep for different times, so that they do not all try at the same moment.
        QThread::msleep(1 + QRandomGenerator::global()->bounded(4u));
    }
}

FileLock::~FileLock() {
    unlock();
}

void FileLock::unlock() {
    if (m_locked)
        os::unlock(*m_locked);
    m_locked = nullptr;
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
    qint64 got;
    do {
        os::clearLastError();
        got = file.device().read(buffer.data(), size);
    } while (got < 0 && os::isInterruption(os::lastError()));
    if (got < 0)
        throwSystemError(failureCode(), QString());
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

void TextReader::rewind() {
    if (!m_file.isOpen())
        return;
    if (!m_file.device().seek(0))
        throwSystemError(failureCode(), QString());
    m_buffer.clear();
    m_pos = 0;
    m_atEnd = false;
}

QString TextReader::readLine() {
    return *readLineUpTo(-1);
}

std::optional<QString> TextReader::readLineUpTo(qsizetype maxBytes) {
    QByteArray line;
    qsizetype length = 0;
    bool cut = false; // a 0x1A byte ended the text: skip to the end of the line
    for (;;) {
        const int byte = nextByte();
        if (byte < 0 || byte == '\n')
            break;
        if (byte == '\r') // every CR is dropped: before LF it is part of the line end
            continue;
        if (maxBytes >= 0 && ++length > maxBytes)
            return std::nullopt;
        if (cut)
            continue;
        if (byte == 0x1A) {
            cut = true;
            continue;
        }
        line.append(char(byte));
    }
    return fromCp1251(line);
}

} // namespace platform
