// How long the manual entry window takes to open: build the grid, run its creation handler
// (which loads data\sq.bmp and data\check_icon.ico from the working directory), show it and
// paint it once. Run offscreen:
//   QT_QPA_PLATFORM=offscreen bench_manual_entry [--cold] [data-folder]
// The data folder defaults to the build's Data folder; its files are copied into a temporary
// working directory, as in an installed program folder. As in the program, the main window is
// shown before the first opening; --cold leaves it out, so that the first opening also pays
// for Qt's one-time start-up (style, fonts).

#include "app/main_window.h"
#include "collect/manual_entry_window.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Timing {
    double build = 0;  // constructor: the 630 pictures, 105 numbers, fields
    double create = 0; // creation handler: clearing the sheet, reading the two pictures
    double show = 0;   // showing and the first full paint
    double total() const { return build + create + show; }
};

double millisecondsSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

Timing openOnce() {
    Timing timing;
    QElapsedTimer timer;
    timer.start();
    auto* window = new ManualEntryWindow(nullptr);
    timing.build = millisecondsSince(timer);
    timer.restart();
    window->create();
    timing.create = millisecondsSince(timer);
    timer.restart();
    window->show();
    QCoreApplication::processEvents();
    window->repaint();
    timing.show = millisecondsSince(timer);
    delete window;
    QCoreApplication::processEvents();
    return timing;
}

void print(const char* what, const Timing& timing) {
    std::printf("%-22s total %7.2f ms  (build %6.2f, create %6.2f, show+paint %6.2f)\n", what,
                timing.total(), timing.build, timing.create, timing.show);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ui::applyLook(application);
    ui::MessageBox::setRecording(true);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool cold = arguments.removeAll(QStringLiteral("--cold")) > 0;
    const QString dataFolder = !arguments.isEmpty()
                                   ? arguments.first()
                                   : QCoreApplication::applicationDirPath() + "/../Data";
    QTemporaryDir work;
    QDir(work.path()).mkpath(QStringLiteral("Data"));
    QDirIterator files(dataFolder, QDir::Files);
    while (files.hasNext()) {
        const QString source = files.next();
        QFile::copy(source, work.filePath(QStringLiteral("Data/") + files.fileName()));
    }
    QDir::setCurrent(work.path());
    if (!QFile::exists(QStringLiteral("Data/sq.bmp")) ||
        !QFile::exists(QStringLiteral("Data/check_icon.ico"))) {
        std::fprintf(stderr, "no sq.bmp / check_icon.ico in %s\n", qPrintable(dataFolder));
        return 1;
    }

    std::unique_ptr<MainWindow> mainWindow;
    if (!cold) {
        mainWindow = std::make_unique<MainWindow>();
        mainWindow->show();
        QCoreApplication::processEvents();
    }
    print(cold ? "first opening (cold)" : "first opening", openOnce());

    constexpr int kRuns = 21;
    std::vector<Timing> runs;
    for (int run = 0; run < kRuns; ++run)
        runs.push_back(openOnce());
    std::sort(runs.begin(), runs.end(),
              [](const Timing& a, const Timing& b) { return a.total() < b.total(); });
    print("median of 21 later", runs[kRuns / 2]);
    print("fastest", runs.front());
    print("slowest", runs.back());

    const QStringList errors = ui::MessageBox::takeRecorded();
    for (const QString& error : errors)
        std::fprintf(stderr, "error shown: %s\n", qPrintable(error));
    return errors.isEmpty() ? 0 : 1;
}
