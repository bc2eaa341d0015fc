// Exporting a chart with 0, 1,000 and 3,000 earlier exports in "saved_img": the search for the
// first free number alone, and the whole export (number, bitmap of 505 x 505, legend). Each
// export's two files are removed again after it, so every run meets the same folder.
// Usage: bench_chart_export [folder] [runs]   (default: the system's temporary folder; every
// file is written through to the disk, so a tmpfs folder such as /dev/shm shows the program's
// own part)

#include "bench/bench_support.h"
#include "charts/export_chart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Stats;

Stats timed(int runs, const std::function<void()>& step, const std::function<void()>& after) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        after();
    }
    return bench::statsOf(std::move(times));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const int runs = argc > 2 ? std::max(10, atoi(argv[2])) : 20;
    QTemporaryDir work(folder + QStringLiteral("/bench-export-XXXXXX"));
    if (!work.isValid())
        qFatal("cannot make a folder in %s", qPrintable(folder));
    QDir::setCurrent(work.path());
    QDir().mkdir(QStringLiteral("saved_img"));

    QImage picture(505, 505, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QStringList legend(25, QStringLiteral("Фамилия Имя 2 -курс, 21 -группа"));
    QString exportedName;

    std::printf("chart export in %s, %d runs (min / median ms)\n", qPrintable(folder), runs);
    std::printf("%-16s %19s %19s\n", "earlier exports", "number search", "whole export");
    int present = 0;
    for (const int earlier : {0, 1000, 3000}) {
        for (; present < earlier; ++present) {
            const QString base = QStringLiteral("saved_img/SR_%1").arg(present + 1);
            writeFile(base + QStringLiteral(".bmp"), "BM");
            writeFile(base + QStringLiteral(".txt"), "legend\r\n");
        }
        const QString next = QStringLiteral("saved_img/SR_%1").arg(earlier + 1);
        const auto removeNext = [&] {
            QFile::remove(next + QStringLiteral(".bmp"));
            QFile::remove(next + QStringLiteral(".txt"));
        };
        int number = 0;
        const Stats search = timed(
            runs, [&] { number = charts::firstFreeNumber(QStringLiteral("SR_")); }, [] {});
        if (number != earlier + 1)
            qFatal("number %d found, %d expected", number, earlier + 1);
        const Stats whole = timed(
            runs,
            [&] {
                exportedName = charts::exportChart(picture, QStringLiteral("SR_"),
                                                   QStringLiteral("Сравнение графиков :"), legend)
                                   .bitmap;
            },
            removeNext);
        if (!exportedName.endsWith(QStringLiteral("SR_%1.bmp").arg(earlier + 1)))
            qFatal("exported as %s", qPrintable(exportedName));
        std::printf("%-16d %8.3f / %8.3f %8.3f / %8.3f\n", earlier, search.min, search.median,
                    whole.min, whole.median);
    }
    return 0;
}
