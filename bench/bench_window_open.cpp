// How long each window takes to open: constructed, its creation handler run, shown and
// painted. The first opening of each window is timed in a fresh process in which its opener is
// already shown, as in the program (the main window; the archive for the comparison and group
// charts); the later openings in the same process after it. The results window scores a full
// answer sheet; the profile chart has one curve, the comparison chart five places, the group
// chart thirty.
// Usage: bench_window_open [runs] [data folder] [window...]
//        (default: the data folder of the build tree, every window)

#include "app/about_window.h"
#include "app/main_window.h"
#include "app/method_window.h"
#include "app/startup.h"
#include "archive/archive_window.h"
#include "archive/selection.h"
#include "bench/bench_support.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "collect/instructions_window.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "results/exit_confirm_window.h"
#include "results/explanation_window.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "scoring/result_file.h"
#include "tests/support/record_builder.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kLaterOpenings = 20;

scoring::ResultRecord sampleRecord(int i) {
    return testing::Record()
        .surname(QStringLiteral("Фамилия%1").arg(i))
        .firstName(QStringLiteral("Имя%1").arg(i))
        .course(QString::number(1 + i % 5))
        .group(QString::number(10 + i % 40))
        .varied(i);
}

scoring::AnswerSheet answeredSheet() {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= scoring::kItems; ++item)
        sheet.setAnswer(item, quint8((item * 5) % 3 + 1));
    return sheet;
}

// Builds a window, runs its creation handler and shows it; the time up to its first paint.
double openOnce(const std::function<QWidget*()>& make,
                const std::function<void(QWidget*)>& created) {
    bench::PaintCounter counter;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> window(make());
    window->installEventFilter(&counter);
    created(window.get());
    window->show();
    while (counter.paints == 0)
        QCoreApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    window->hide();
    return ms;
}

template <class Window, class... Args>
std::function<double()> opening(QWidget* opener, Args... args) {
    return [=] {
        return openOnce([&] { return new Window(opener, args...); },
                        [](QWidget* window) { static_cast<Window*>(window)->create(); });
    };
}

void waitUntilExposed(QWidget* window) {
    window->show();
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

int childRun(const QString& kind, const QString& dataFolder) {
    QTemporaryDir work;
    for (const char* folder : {"Data", "result", "saved_img"})
        QDir().mkpath(work.filePath(QLatin1String(folder)));
    for (const QString& name : QDir(dataFolder).entryList(QDir::Files)) {
        if (!QFile::copy(QDir(dataFolder).filePath(name),
                         work.filePath(QStringLiteral("Data/") + name)))
            qFatal("cannot copy %s from %s", qPrintable(name), qPrintable(dataFolder));
    }
    QDir::setCurrent(work.path());

    const QString file = work.filePath(QStringLiteral("result/a.res"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file));
        for (int i = 0; i < 40; ++i)
            out.write(scoring::encodeRecord(sampleRecord(i)));
    }
    for (int place = 1; place <= archive::kPlaces; ++place)
        archive::selection().place(place) = scoring::RecordRef{file, place};

    // The program as the user reaches the window: the main window shown, and for the charts of
    // the archive the archive.
    MainWindow mainWindow;
    waitUntilExposed(&mainWindow);
    std::unique_ptr<ArchiveWindow> archiveWindow;
    if (kind == u"comparison" || kind == u"group") {
        archiveWindow = std::make_unique<ArchiveWindow>(&mainWindow);
        archiveWindow->create();
        waitUntilExposed(archiveWindow.get());
    }

    QWidget* opener = archiveWindow ? static_cast<QWidget*>(archiveWindow.get()) : &mainWindow;
    const scoring::ResultRecord record = sampleRecord(3);
    const scoring::Subject subject{record.surname, record.firstName, record.course, record.group};
    std::function<double()> open;
    if (kind == u"about")
        open = opening<AboutWindow>(opener);
    else if (kind == u"method")
        open = opening<MethodWindow>(opener);
    else if (kind == u"instructions")
        open = opening<InstructionsWindow>(opener);
    else if (kind == u"subject_data")
        open = opening<SubjectDataWindow>(opener);
    else if (kind == u"test")
        open = opening<TestWindow>(opener, subject);
    else if (kind == u"manual_entry")
        open = opening<ManualEntryWindow>(opener);
    else if (kind == u"results")
        open = opening<ResultsWindow>(opener, answeredSheet(), subject, scoring::EntryMode::Test);
    else if (kind == u"explanation")
        open = opening<ExplanationWindow>(opener, graphics::explanationOf(4));
    else if (kind == u"exit_confirm")
        open = opening<ExitConfirmWindow>(opener);
    else if (kind == u"archive")
        open = opening<ArchiveWindow>(opener);
    else if (kind == u"profile")
        open = opening<ProfileChartWindow>(opener, record.scales, subject,
                                           QStringLiteral("05.03.2007"), scoring::EntryMode::Test);
    else if (kind == u"comparison")
        open = opening<ComparisonChartWindow>(opener, archive::selection().comparisonPlaces());
    else if (kind == u"group")
        open = opening<GroupChartWindow>(opener, archive::selection().groupPlaces());
    else
        qFatal("no window %s", qPrintable(kind));

    std::printf("%.4f", open());
    for (int i = 0; i < kLaterOpenings; ++i)
        std::printf(" %.4f", open());
    std::printf("\n");
    return 0;
}

const char* const kWindows[] = {"about",        "method",       "instructions", "subject_data",
                                "test",         "manual_entry", "results",      "explanation",
                                "exit_confirm", "archive",      "profile",      "comparison",
                                "group"};

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        application.setApplicationName(QStringLiteral("Тест Дорвела"));
        app::installQtTranslation(application);
        app::setProgramIcon(application);
        ui::applyLook(application);
        application.setQuitOnLastWindowClosed(false);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        return childRun(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    const int runs = argc > 1 ? std::max(10, atoi(argv[1])) : 10;
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    // bench/ and Data/ lie side by side in the build tree.
    const QString dataFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2])
                 : QFileInfo(program).absoluteDir().absoluteFilePath(QStringLiteral("../Data"));
    QStringList windows;
    for (int i = 3; i < argc; ++i)
        windows << QString::fromLocal8Bit(argv[i]);
    if (windows.isEmpty()) {
        for (const char* name : kWindows)
            windows << QLatin1String(name);
    }

    std::printf("window opening to its first painted frame, ms: first opening in %d fresh "
                "processes, later openings %d per process (min / median)\n",
                runs, kLaterOpenings);
    std::printf("%-13s %19s %19s\n", "window", "first", "later");
    for (const QString& kind : windows) {
        std::vector<double> first, later;
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            child.start(program, {QStringLiteral("--child"), kind, dataFolder});
            // A child stuck (a message box waiting for an answer) is stopped and not counted.
            if (!child.waitForFinished(30000)) {
                child.kill();
                child.waitForFinished(-1);
                std::fprintf(stderr, "%s: a run stopped after 30 s\n", qPrintable(kind));
                continue;
            }
            if (child.exitCode() != 0)
                qFatal("child failed: %s", child.readAllStandardError().constData());
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            first.push_back(fields.constFirst().toDouble());
            for (qsizetype i = 1; i < fields.size(); ++i)
                later.push_back(fields[i].toDouble());
        }
        if (first.empty())
            continue;
        const bench::Stats a = bench::statsOf(first);
        const bench::Stats b = bench::statsOf(later);
        std::printf("%-13s %8.2f / %8.2f %8.2f / %8.2f\n", qPrintable(kind), a.min, a.median, b.min,
                    b.median);
        std::fflush(stdout);
    }
    return 0;
}
