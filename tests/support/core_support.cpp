#include "tests/support/core_support.h"

#include "platform/error.h"
#include "platform/os_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>

namespace testing {

TempWorkDir::TempWorkDir() : m_previous(QDir::currentPath()) {
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    QDir::setCurrent(m_dir.path());
}

TempWorkDir::~TempWorkDir() {
    QDir::setCurrent(m_previous);
}

void TempWorkDir::makeFolder(const QString& relative) const {
    QDir(path()).mkpath(relative);
}

void TempWorkDir::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(full));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TempWorkDir::readFile(const QString& relative) const {
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempWorkDir::installProgramFolder() const {
    makeFolder(QStringLiteral("Data"));
    makeFolder(QStringLiteral("result"));
    makeFolder(QStringLiteral("saved_img"));
    QDirIterator it(QStringLiteral(DORVEL_BUILD_DATA_DIR), QDir::Files);
    while (it.hasNext()) {
        const QString source = it.next();
        QFile::copy(source, filePath(QStringLiteral("Data/") + it.fileName()));
    }
}

QString errorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const platform::Error& error) {
        return error.text();
    }
    return QString();
}

namespace {

const QString kChildStepOption = QStringLiteral("--child-step");

// Runs a command to its end; its standard output, or nothing when it did not end normally.
std::optional<QByteArray> outputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool runningAsRoot() {
    QTemporaryFile probe;
    return probe.open() && QFileInfo(probe.fileName()).ownerId() == 0;
}

} // namespace

std::optional<int> runChildStep(int argc, char** argv, const ChildSteps& steps) {
    if (argc != 4 || QString::fromLocal8Bit(argv[1]) != kChildStepOption)
        return std::nullopt;
    const auto step = steps.constFind(QString::fromLocal8Bit(argv[2]));
    if (step == steps.constEnd())
        return 2;
    const QByteArray text = errorOf([&] { (*step)(QString::fromLocal8Bit(argv[3])); }).toUtf8();
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 3;
}

QString errorInChild(const QStringList& launcher, const QString& step, const QString& argument) {
    QStringList command = launcher;
    command << QCoreApplication::applicationFilePath() << kChildStepOption << step << argument;
    const auto output = outputOf(command.takeFirst(), command);
    return output ? QString::fromUtf8(*output) : QStringLiteral("child failed");
}

QString errorAsUnprivileged(const QString& step, const QString& argument) {
    QStringList launcher;
    if (runningAsRoot()) {
        launcher = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                    QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                    QStringLiteral("--")};
    }
    return errorInChild(launcher, step, argument);
}

QStringList fileSizeLimited(qint64 bytes) {
    return {QStringLiteral("prlimit"), QStringLiteral("--fsize=%1").arg(bytes),
            QStringLiteral("--")};
}

namespace {

// The soft file-size limit of this process, "unlimited" or a number of bytes; or a change to it.
QString fileSizeLimit(const QString& change = QString()) {
    QStringList arguments = {QStringLiteral("--pid"),
                             QString::number(QCoreApplication::applicationPid())};
    if (change.isEmpty())
        arguments << QStringLiteral("--fsize") << QStringLiteral("--raw")
                  << QStringLiteral("--noheadings") << QStringLiteral("--output=SOFT");
    else
        arguments << QStringLiteral("--fsize=%1:").arg(change); // the soft limit alone
    const auto output = outputOf(QStringLiteral("prlimit"), arguments);
    if (!output)
        qFatal("prlimit cannot %s this process's file-size limit",
               change.isEmpty() ? "read" : "set");
    return QString::fromLatin1(*output).trimmed();
}

} // namespace

FileSizeLimit::FileSizeLimit(qint64 bytes) : m_previous(fileSizeLimit()) {
    platform::os::ignoreFileSizeSignal(); // as the program does at start
    fileSizeLimit(QString::number(bytes));
}

FileSizeLimit::~FileSizeLimit() {
    fileSizeLimit(m_previous);
}

int handlesOpenOn(const QString& pathEnd) {
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry :
         fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        if (QFileInfo(fds.filePath(entry)).symLinkTarget().endsWith(pathEnd))
            ++count;
    }
    return count;
}

} // namespace testing
