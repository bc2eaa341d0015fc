// A process of its own saving into a result file, for the tests of several computers saving
// into one file at the same time.
//   append_records append <file> <tag> <count>
//       waits for a line on its input (so that many appenders start together), then appends
//       records 0 to count-1 of `tag` through the program's own append routine.
//   append_records hold <file> <tag> <milliseconds>
//       takes the file's lock as an append does, reads the file's length, says "locked", waits,
//       then writes record 0 of `tag` at that length and lets the lock go.
// Prints the error text and exits with 1 when something fails.

#include "tests/append_records.h"
#include "platform/error.h"
#include "platform/files.h"
#include "scoring/result_file.h"

#include <QString>
#include <QThread>

#include <cstdio>

namespace {

void append(const QString& name, const QString& tag, int count) {
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        throw platform::Error(QStringLiteral("no start signal"));
    for (int i = 0; i < count; ++i)
        scoring::appendRecord(name, numberedRecord(tag, i));
}

void hold(const QString& name, const QString& tag, int milliseconds) {
    platform::FileHandle file = platform::openOrCreateFile(name);
    platform::FileLock lock(file, name);
    const qint64 length = platform::fileSize(file, name);
    std::printf("locked\n");
    std::fflush(stdout);
    QThread::msleep(milliseconds);
    const qint64 end = length - length % scoring::kRecordSize;
    platform::writeAll(file, end, scoring::encodeRecord(numberedRecord(tag, 0)), name);
    platform::syncFile(file, name);
    lock.unlock();
    platform::closeFile(file, name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: append_records append|hold <file> <tag> <count|ms>\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString tag = QString::fromLocal8Bit(argv[3]);
    const int number = QString::fromLocal8Bit(argv[4]).toInt();
    try {
        if (mode == u"append")
            append(name, tag, number);
        else if (mode == u"hold")
            hold(name, tag, number);
        else
            return 2;
    } catch (const platform::Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
