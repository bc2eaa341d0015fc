#pragma once

#include "platform/error.h"

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

// Which of the runtime's file failures a number is.
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
