#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace testing {

// A fresh working directory in a temporary folder for one test; the previous one is restored
// when it goes. Other users may enter it (see errorAsUnprivileged). Tests never write into the
// source tree.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }
    // Creates a folder (and its parents) inside the working directory.
    void makeFolder(const QString& relative) const;
    // Writes a file inside the working directory, creating its folder; a failed write fails
    // the test.
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    // The file's bytes, or nothing when it cannot be read.
    QByteArray readFile(const QString& relative) const;
    // Copies the data folder the build laid out (questionnaire, key, pictures) as "Data",
    // and creates "result" and "saved_img", like an installed program folder.
    void installProgramFolder() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The message of the platform::Error that `step` throws, or an empty text.
QString errorOf(const std::function<void()>& step);

// The error text of `step` run in a child process that may not write other users' files:
// root may write any file, so the child gives up root first. "child failed" when the child
// could not tell.
QString errorAsUnprivileged(const std::function<void()>& step);

// While it lives, files may grow to `bytes` only: writing beyond fails as on a full disk (EFBIG)
// instead of ending the process with a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 m_previous = 0;
    void (*m_handler)(int) = nullptr;
};

// How many of this process's open file handles are on a file whose path ends in `pathEnd`.
int handlesOpenOn(const QString& pathEnd);

} // namespace testing
