#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// The one error the program raises. Its text is exactly what the general error message box
// shows ("File not found", "Disk full", ...), so handlers never format messages themselves.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text);
    // The whole text, even one holding a NUL character (what() would end there).
    QString text() const { return m_text; }

private:
    QString m_text;
};

// The kinds of file failure that have a text of their own ("File not found", "Invalid
// filename", ...); every other failure reads "I/O error %d" with the system's number.
enum class FileFault { NotFound, InvalidName, TooManyOpenFiles, AccessDenied, DiskFull, Other };

// The program's text for a system error number met while working on `path`. A missing folder
// on the way to the file reads "Invalid filename", a missing file in an existing folder
// "File not found".
QString errorText(int code, const QString& path);
[[noreturn]] void throwSystemError(int code, const QString& path);
// The same for a failure known by its kind alone (a folder where a file should be, ...).
[[noreturn]] void throwFileError(FileFault fault, const QString& path);

// "I/O error %d": a failure without a text of its own, with the system's number.
QString ioErrorText(int code);

// A read that ran past the end of a file.
[[noreturn]] void throwEndOfFile();

// The system's own reason for an error number, as it stands after the file name in
// "Cannot open file "%s". %s".
QString systemReason(int code);

// "Cannot open file "%s". %s" and "Cannot create file "%s". %s".
QString cannotOpenText(const QString& path, const QString& reason);
QString cannotCreateText(const QString& path, const QString& reason);

// An output that is there but is not a regular file (a folder, a FIFO, a device), which the
// program does not replace.
QString notRegularFileText();

// "'%s' is not a valid integer value".
QString invalidIntegerText(const QString& value);

} // namespace platform
