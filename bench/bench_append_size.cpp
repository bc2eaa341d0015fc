// Saving a result: one record appended to a small existing file (10 records) and to a large one
// (10^7 records, 880 MB, sparse), which grows by one record a run. Nothing before the end is
// read, so the two must cost the same.
// Usage: bench_append_size [folder] [runs]   (every append waits for the disk; a tmpfs folder
// such as /dev/shm shows the program's own part)

#include "bench/bench_support.h"
#include "scoring/result_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::Stats;

Stats appendTimes(const QString& name, int runs) {
    scoring::ResultRecord record;
    record.surname = QStringLiteral("Фамилия");
    record.firstName = QStringLiteral("Имя");
    record.course = QStringLiteral("2");
    record.group = QStringLiteral("21");
    record.scales.fill(5);
    record.date = 39146.0;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        scoring::appendRecord(name, record);
        times.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    return bench::statsOf(std::move(times));
}

} // namespace

int main(int argc, char** argv) {
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const int runs = argc > 2 ? std::max(10, atoi(argv[2])) : 50;
    QTemporaryDir work(folder + QStringLiteral("/bench-append-XXXXXX"));
    if (!work.isValid())
        qFatal("cannot make a folder in %s", qPrintable(folder));
    const QString small = work.filePath(QStringLiteral("small.res"));
    const QString large = work.filePath(QStringLiteral("large.res"));
    {
        QFile file(small);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(10 * scoring::kRecordSize))
            qFatal("cannot make %s", qPrintable(small));
    }
    {
        QFile file(large);
        if (!file.open(QIODevice::WriteOnly) ||
            !file.resize(qint64(10'000'000) * scoring::kRecordSize))
            qFatal("cannot make %s", qPrintable(large));
    }
    const Stats a = appendTimes(small, runs);
    const Stats b = appendTimes(large, runs);
    std::printf("append one record in %s, %d runs (min / median us)\n", qPrintable(folder), runs);
    std::printf("small file (10 records):     %9.1f / %9.1f\n", a.min, a.median);
    std::printf("large file (10^7 records):   %9.1f / %9.1f\n", b.min, b.median);
    std::printf("median ratio large / small:  %.2f\n", b.median / a.median);
    return 0;
}
