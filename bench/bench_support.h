#pragma once

// What the benchmarks share: timing a step and a working folder of their own.

#include "scoring/result_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// Counts the paints of what it filters, so that a step is timed up to its painted frame.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The fastest and the middle of a set of timings.
struct Stats {
    double min = 0;
    double median = 0;
};

inline Stats statsOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2]};
}

// A result file of `count` records, record i made by `recordOf(i)`, written a megabyte at a time.
inline void writeRecords(const QString& path, qint64 count,
                         const std::function<scoring::ResultRecord(qint64)>& recordOf) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray chunk;
    for (qint64 i = 0; i < count; ++i) {
        chunk += scoring::encodeRecord(recordOf(i));
        if (chunk.size() >= (1 << 20) || i + 1 == count) {
            file.write(chunk);
            chunk.clear();
        }
    }
}

// The median of `runs` timings of `step`, in milliseconds.
inline double medianMilliseconds(int runs, const std::function<void()>& step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A temporary folder in the folder named on the command line (else the system's temporary
// folder), made the working directory, with an empty result folder as the program has.
inline QTemporaryDir workingFolder(int argc, char** argv) {
    QTemporaryDir dir =
        argc > 1 ? QTemporaryDir(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX"))
                 : QTemporaryDir();
    if (!dir.isValid())
        qFatal("cannot make a folder for the files");
    std::printf("files in %s\n", qPrintable(dir.path()));
    QDir::setCurrent(dir.path());
    QDir().mkdir(QStringLiteral("result"));
    return dir;
}

} // namespace bench
