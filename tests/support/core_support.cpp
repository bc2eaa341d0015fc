#include "tests/support/core_support.h"

#include "platform/error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

QString errorAsUnprivileged(const std::function<void()>& step) {
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        const QByteArray text = errorOf(step).toUtf8();
        const bool written =
            ::write(channel[1], text.constData(), size_t(text.size())) == text.size();
        ::_exit(written ? 0 : 3);
    }
    ::close(channel[1]);
    QByteArray text;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("child failed");
    return QString::fromUtf8(text);
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_previous = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previous);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_handler);
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
