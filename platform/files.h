#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QFile;

namespace platform {

// File operations that fail with the program's file error texts (platform::Error). Every name given
// to them is a program data name ("Data\Key.kdt") or a full path; it goes through resolvePath.

// An open file that closes itself; moved, never copied.
class FileHandle {
public:
    FileHandle();
    explicit FileHandle(std::unique_ptr<QFile> file);
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle();

    bool isOpen() const;
    // The open file; reading and writing go through the functions below.
    QFile& device() const { return *m_file; }
    // Closes without a word about failures (see closeFile).
    void close();

private:
    std::unique_ptr<QFile> m_file;
};

enum class Access { ReadOnly, ReadWrite };

// Opens an existing file. Throws "File not found", "Invalid filename", "File access denied"...
FileHandle openFile(const QString& name, Access access);
// Creates a file, emptying one that exists. Throws as above.
FileHandle createFile(const QString& name);
// Opens a file for reading and writing, creating it empty when it does not exist; an existing
// file is never emptied. The folder is never created ("Invalid filename" when it is missing).
FileHandle openOrCreateFile(const QString& name);

// The whole content of a picture file. A file that cannot be opened fails with
// "Cannot open file "<name>". <the system's reason>", the name as shown to the user.
QByteArray readPictureFile(const QString& name);

// How the two functions below find the name they are given: in any letter case (through
// resolvePath), or exactly as given, by a caller that has already matched the name against its
// own listing of the folder (a large folder is then not read again).
enum class NameLookup { AnyCase, Exact };

// Writes a whole file: the new content takes the place of an old file only once all of it is
// written, so a failure leaves no half-written file. Any failure, creating, writing or
// finishing it, throws "Cannot create file "<full path>". <the system's reason>".
// A symbolic link at the name is refused, so that nothing is written where it points.
void saveWholeFile(const QString& name, const QByteArray& bytes,
                   NameLookup lookup = NameLookup::AnyCase);
// Writes a new file under a name nothing has yet: any file, folder or symbolic link of that
// name (even a link pointing nowhere) makes it fail, as creating or writing it does, with
// "Cannot create file ...". A failure leaves no file behind.
void saveNewFile(const QString& name, const QByteArray& bytes,
                 NameLookup lookup = NameLookup::AnyCase);

// A file written whole or not at all. Its content goes into a new temporary file in the same
// folder, and commit() puts that in the place of `name` only once every byte of it has reached
// the disk, keeping the old file's permissions. Every failure (creating, writing, committing)
// throws the program's text for it: "Disk full", "File access denied", "Invalid filename",
// "I/O error %d"... A file not committed, after a failure or left without commit(), is removed
// again, so `name` stays as it was and no temporary file is left behind. Something at `name`
// that is not a regular file (a folder, a FIFO, a device) is refused before anything is
// written (notRegularFileText). A symbolic link at `name` is followed: the file it points to
// is the one replaced. Under a file-size limit a write fails as on a full disk, as long as the
// process ignores SIGXFSZ (os::ignoreFileSizeSignal).
class OutputFile {
public:
    // `name` is taken as it is written (no letter-case lookup); nothing happens until open().
    explicit OutputFile(const QString& name);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks what is at `name` and creates the temporary file; throws as above.
    void open();
    // Writes (through a buffer of this file's own); throws as above.
    void write(QByteArrayView bytes);
    // Puts the whole content in place of `name`; throws as above, and the file is gone then.
    void commit();
    // The system's number of the last failure thrown (0: a refusal without one).
    int failureNumber() const { return m_failure; }

private:
    void writeOut(QByteArrayView bytes);
    [[noreturn]] void fail(int code);
    void discard();

    QString m_target;
    QString m_temporary;
    std::unique_ptr<QFile> m_file;
    QByteArray m_buffer;
    int m_failure = 0;
};

// Whether two names stand for one existing file (a link and its target, two hard links...).
bool isSameFile(const QString& first, const QString& second);

// Length of an open file in bytes.
qint64 fileSize(const FileHandle& file, const QString& name);

// Reads exactly `size` bytes at `offset`; a short read throws "Read beyond end of file".
QByteArray readExactly(const FileHandle& file, qint64 offset, qint64 size, const QString& name);

// Writes all of `bytes` at `offset`; failures throw ("Disk full", "I/O error %d", ...).
void writeAll(const FileHandle& file, qint64 offset, const QByteArray& bytes, const QString& name);

// Cuts or extends an open file to `size` bytes.
void truncateFile(const FileHandle& file, qint64 size, const QString& name);
// Waits until what was written has reached the disk; a write the system could not complete
// after all is reported here ("Disk full", "I/O error %d").
void syncFile(const FileHandle& file, const QString& name);
// Closes the file; a failing close throws like a failing write.
void closeFile(FileHandle& file, const QString& name);

// How long to wait for a lock another process holds, and what to do meanwhile.
struct LockWait {
    std::chrono::milliseconds limit = std::chrono::seconds(10);
    // Called every few milliseconds while another process holds the lock, e.g. to keep a window
    // painted; nothing by default.
    std::function<void()> whileWaiting;
};

// An exclusive lock of this process on an open file, from construction until unlock() or
// destruction, so that computers appending to one shared file take turns. Only writers lock:
// reading never waits. While another process holds the lock, construction tries again every few
// milliseconds; still held after `wait.limit`, it throws "I/O error %d" with the system's number
// of the refusal. A file system without locks gets none, and the file is written as before.
class FileLock {
public:
    FileLock(const FileHandle& file, const QString& name, const LockWait& wait = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    void unlock();

private:
    QFile* m_locked = nullptr;
};

// A text file read line by line in code page 1251. A line ends at CR LF or a bare LF; a CR
// not followed by LF is dropped; a 0x1A byte ends the line's text and the rest of that line
// is skipped; nothing is trimmed. Past the end every line is an empty text, not an error.
class TextReader {
public:
    void open(const QString& name);
    bool isOpen() const { return m_file.isOpen(); }
    QString readLine();
    // The next line, or nothing once it holds more than `maxBytes` bytes (CRs, which are
    // dropped, not counted): reading stops there, inside that line, so an overlong line is never
    // read whole.
    std::optional<QString> readLineUpTo(qsizetype maxBytes);
    // Back to the first line.
    void rewind();
    void close();

private:
    int nextByte();
    FileHandle m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
};

} // namespace platform
