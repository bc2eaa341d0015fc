#pragma once

#include "platform/error.h"

#include <QIODevice>
#include <QString>

class QFile;

// The few file operations Qt does not offer, and the system's error numbers. This is the one
// place that calls the operating system directly: POSIX here, the Win32 API on Windows. Every
// number below is the system's own (errno, or GetLastError() on Windows).
namespace platform::os {

// The number the last failing call left. Qt's file classes leave it as the system set it, so it
// is read right after one of them reports a failure (having cleared it just before the call).
int lastError();
void clearLastError();
// The number reported when a call failed without leaving one (EIO; ERROR_GEN_FAILURE).
int generalIoError();
// The number of a file that does not exist (ENOENT; ERROR_FILE_NOT_FOUND).
int notFoundError();
// A call the system broke off before doing anything (EINTR); it is simply made again.
bool isInterruption(int code);

// Opening a file. Qt's own open() waits forever on a FIFO until someone writes into it and
// follows a symbolic link wherever it points; the program does neither.
// How an open treats a symbolic link at the name itself (folders on the way are followed).
enum class Links { Follow, Refuse };
enum class OpenOutcome {
    Opened,
    Failed,   // the system refused; its number in `code`
    NotAFile, // a folder, a FIFO, a device...: only regular files are read or written
    Link,     // a symbolic link, refused as Links::Refuse says; the system's number in `code`
};
// Opens `file` (its fileName()) as `mode` says (ReadOnly or ReadWrite, with Truncate, NewOnly
// or ExistingOnly), straight to the system without a buffer of Qt's. A special file never holds
// the open up: it is opened without waiting and then refused as NotAFile. NewOnly creates the
// file only where nothing at all has the name, not even a link pointing nowhere.
OpenOutcome openRegularFile(QFile& file, QIODevice::OpenMode mode, Links links, int& code);

// The number given for a symbolic link refused (ELOOP, as the system refuses one opened with
// O_NOFOLLOW; ERROR_ACCESS_DENIED).
int linkRefusalError();

// A write beyond the process's file-size limit then fails like one on a full disk (EFBIG)
// instead of ending the program midway with the signal SIGXFSZ. Called once at start; nothing
// to do on Windows, which has no such limit.
void ignoreFileSizeSignal();

// Puts the file `from` in the place of `to`, replacing what is there in one step; 0 or the
// system's number of the failure.
int replaceFile(const QString& from, const QString& to);
// Whether two names stand for one existing file.
bool isSameFile(const QString& first, const QString& second);

// Which kind of file failure (with a text of its own, or none) a number is.
FileFault faultOf(int code);
// The system's own words for a number, without a final full stop.
QString reasonText(int code);

// Each returns 0, or the system's number of the failure.
// Waits until what was written to the open file has reached the disk; a file that cannot be
// flushed at all (a device) counts as flushed.
int flushToDisk(QFile& file);
// Cuts or extends the open file to `size` bytes.
int resize(QFile& file, qint64 size);

// Locks for appending (see FileLock): only writers take them, so readers are never held up.
enum class LockTry { Taken, Busy, Unsupported, Failed };
// One try, never waiting, at an exclusive lock of this process on the open file; the system's
// number in `code` when the lock is not taken (Busy: another process holds it; Unsupported: the
// file system has no locks).
LockTry tryLock(QFile& file, int& code);
void unlock(QFile& file);

} // namespace platform::os
