// How long the program takes to start: from launching the process to its main window's first
// painted frame, offscreen, against a bare Qt window of the same size shown by a program that
// links Qt Widgets alone. Both are timed from outside, unchanged: a small Qt plugin loaded into
// each at its start (bench/startup) reports the moment of the first paint and the memory then.
// Then the program's start is timed step by step inside a fresh process, with the same steps as
// the program's own start.
// Usage: bench_startup [runs] [data folder]   (default: the data folder of the build tree)

#include "app/main_window.h"
#include "app/startup.h"
#include "bench/bench_support.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Start {
    double ms = 0;
    double rssMb = 0;
    double peakMb = 0;
};

// Runs `program` in `folder` with the probe plugin and returns when it reported its first paint.
Start timeStart(const QString& program, const QString& folder) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(DORVEL_PROBE_FOLDER));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                       QStringLiteral("dorvelstartupprobe"));
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(folder);
    const qint64 launched = nowNs();
    child.start(program, {});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), child.readAllStandardError().constData());
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 3)
        qFatal("%s reported no paint", qPrintable(program));
    return {double(fields[0].toLongLong() - launched) / 1e6, fields[1].toDouble() / 1024,
            fields[2].toDouble() / 1024};
}

// The steps of the program's start, each timed, in this fresh process; printed as one line of
// milliseconds.
int stepsChild(int argc, char** argv, qint64 launched) {
    std::vector<double> steps;
    QElapsedTimer timer;
    timer.start();
    const auto step = [&] {
        steps.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
    };
    steps.push_back(double(nowNs() - launched) / 1e6); // to main: loading the libraries
    timer.restart();
    QApplication application(argc, argv);
    step();
    application.setApplicationName(QStringLiteral("Тест Дорвела"));
    app::installQtTranslation(application);
    step();
    app::setProgramIcon(application);
    step();
    ui::applyLook(application);
    step();
    if (!app::checkDataFolder())
        return 1;
    step();
    MainWindow mainWindow;
    step();
    mainWindow.show();
    while (!mainWindow.windowHandle() || !mainWindow.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    step();
    for (const double ms : steps)
        std::printf("%.4f ", ms);
    std::printf("\n");
    return 0;
}

const char* const kStepNames[] = {"to main (libraries)", "QApplication",  "Qt translation",
                                  "program icon",        "look",          "data folder check",
                                  "main window built",   "shown, painted"};

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--steps") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return stepsChild(argc, argv, QByteArray(argv[2]).toLongLong());
    }
    const int runs = argc > 1 ? std::max(10, atoi(argv[1])) : 10;
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    const QString dataFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2])
                 : QFileInfo(program).absoluteDir().absoluteFilePath(QStringLiteral("../Data"));

    // A program folder: the data files, empty result and picture folders.
    QTemporaryDir folder;
    QDir().mkpath(folder.filePath(QStringLiteral("Data")));
    QDir().mkpath(folder.filePath(QStringLiteral("result")));
    QDir().mkpath(folder.filePath(QStringLiteral("saved_img")));
    for (const QString& name : QDir(dataFolder).entryList(QDir::Files)) {
        if (!QFile::copy(QDir(dataFolder).filePath(name),
                         folder.filePath(QStringLiteral("Data/") + name)))
            qFatal("cannot copy %s", qPrintable(name));
    }

    // Alternated, so that whatever else the machine does falls on both alike.
    std::vector<double> programMs, bareMs, programRss, bareRss, programPeak, barePeak;
    for (int run = 0; run < runs; ++run) {
        const Start p = timeStart(QStringLiteral(DORVEL_PROGRAM), folder.path());
        const Start b = timeStart(QStringLiteral(DORVEL_BARE_WINDOW), folder.path());
        programMs.push_back(p.ms);
        bareMs.push_back(b.ms);
        programRss.push_back(p.rssMb);
        bareRss.push_back(b.rssMb);
        programPeak.push_back(p.peakMb);
        barePeak.push_back(b.peakMb);
    }
    const bench::Stats p = bench::statsOf(programMs), b = bench::statsOf(bareMs);
    std::printf("start to the main window's first painted frame, offscreen, %d runs each "
                "(min / median):\n",
                runs);
    std::printf("  program      %7.2f / %7.2f ms, resident %.1f MB, peak %.1f MB\n", p.min,
                p.median, bench::statsOf(programRss).median, bench::statsOf(programPeak).median);
    std::printf("  bare window  %7.2f / %7.2f ms, resident %.1f MB, peak %.1f MB\n", b.min,
                b.median, bench::statsOf(bareRss).median, bench::statsOf(barePeak).median);
    std::printf("  program / bare window: %.2f (medians), %.2f (mins)\n", p.median / b.median,
                p.min / b.min);

    // The program's own steps, in fresh processes started in the program folder.
    std::vector<std::vector<double>> steps(std::size(kStepNames));
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setWorkingDirectory(folder.path());
        const qint64 launched = nowNs();
        child.start(program, {QStringLiteral("--steps"), QString::number(launched)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("child failed (%d): %s", child.exitCode(),
                   child.readAllStandardError().constData());
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        for (std::size_t i = 0; i < steps.size() && i < std::size_t(fields.size()); ++i)
            steps[i].push_back(fields[qsizetype(i)].toDouble());
    }
    std::printf("the program's start step by step, ms (min / median):\n");
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const bench::Stats s = bench::statsOf(steps[i]);
        std::printf("  %-22s %7.2f / %7.2f\n", kStepNames[i], s.min, s.median);
    }
    return 0;
}
