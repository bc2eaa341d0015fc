#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

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

// Steps a test runs in a child process, by name; each takes one argument (a file name, ...).
// The child is the test program itself, started again as
//     <test program> --child-step <name> <argument>
using ChildSteps = QHash<QString, std::function<void(const QString& argument)>>;
// Called first in the test program's main(): when started as a child, runs the step, prints
// the message of the platform::Error it throws (nothing when none) and gives the exit code;
// otherwise nothing, and the tests run.
std::optional<int> runChildStep(int argc, char** argv, const ChildSteps& steps);

// The error text of child step `step` run with `argument` in a child process in the working
// directory, started through `launcher` (a command such as fileSizeLimited()'s that then runs
// the child; none by default). "child failed" when the child could not tell: it ended by a
// signal, say.
QString errorInChild(const QStringList& launcher, const QString& step, const QString& argument);

// The same in a child that may not write other users' files: root may write any file, so a
// child of root runs as the user nobody.
QString errorAsUnprivileged(const QString& step, const QString& argument);

// A launcher for errorInChild: the child may write files up to `bytes` only.
QStringList fileSizeLimited(qint64 bytes);

// While it lives, files of this process may grow to `bytes` only. Writing beyond fails as on a
// full disk (EFBIG): the signal that would otherwise end the process is ignored from then on,
// as the program ignores it from its start.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    QString m_previous;
};

// How many of this process's open file handles are on a file whose path ends in `pathEnd`.
int handlesOpenOn(const QString& pathEnd);

} // namespace testing
