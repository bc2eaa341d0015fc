// How long a chart window takes to open: constructed, its creation handler run (background
// decoded, frame and curves drawn), shown and painted. The first opening of each chart is timed
// in a fresh process in which the archive window is already shown, as in the program; the
// later openings in the same process after it. Profile chart with one curve, comparison chart
// with five places, group chart with thirty.
// Usage: bench_chart_open [runs] [data folder]   (default: the data folder of the build tree)

#include "app/startup.h"
#include "archive/archive_window.h"
#include "archive/selection.h"
#include "bench/bench_support.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "platform/dates.h"
#include "results/profile_chart_window.h"
#include "scoring/result_file.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
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

// Counts the paints of a window, so that an opening is timed up to its first painted frame.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

scoring::ResultRecord sampleRecord(int i) {
    scoring::ResultRecord record;
    record.surname = QStringLiteral("Фамилия%1").arg(i);
    record.firstName = QStringLiteral("Имя%1").arg(i);
    record.course = QString::number(1 + i % 5);
    record.group = QString::number(10 + i % 40);
    for (int k = 0; k < scoring::kScales; ++k)
        record.scales[std::size_t(k)] = quint8(1 + (i + k) % 10);
    record.date = platform::dayCount(QDate(2007, 3, 5));
    return record;
}

template <class Window> double openOnce(const std::function<Window*()>& make) {
    PaintCounter counter;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<Window> window(make());
    window->installEventFilter(&counter);
    window->create();
    window->show();
    while (counter.paints == 0)
        QCoreApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    window->hide();
    return ms;
}

int childRun(const QString& kind, const QString& dataFolder) {
    QTemporaryDir work;
    QDir().mkpath(work.filePath(QStringLiteral("Data")));
    QDir().mkpath(work.filePath(QStringLiteral("result")));
    if (!QFile::copy(dataFolder + QStringLiteral("/graph.bmp"),
                     work.filePath(QStringLiteral("Data/graph.bmp"))))
        qFatal("no background picture in %s", qPrintable(dataFolder));
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

    // The program as the user reaches a chart: started with its icon and look, the archive shown.
    ArchiveWindow archiveWindow(nullptr);
    archiveWindow.create();
    archiveWindow.show();
    while (!archiveWindow.windowHandle() || !archiveWindow.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    std::function<double()> open;
    if (kind == u"profile") {
        const scoring::ResultRecord record = sampleRecord(3);
        const scoring::Subject subject{record.surname, record.firstName, record.course,
                                       record.group};
        open = [&archiveWindow, record, subject] {
            return openOnce<ProfileChartWindow>([&] {
                return new ProfileChartWindow(&archiveWindow, record.scales, subject,
                                              QStringLiteral("05.03.2007"),
                                              scoring::EntryMode::Test);
            });
        };
    } else if (kind == u"comparison") {
        open = [&archiveWindow] {
            return openOnce<ComparisonChartWindow>([&] {
                return new ComparisonChartWindow(&archiveWindow,
                                                 archive::selection().comparisonPlaces());
            });
        };
    } else {
        open = [&archiveWindow] {
            return openOnce<GroupChartWindow>([&] {
                return new GroupChartWindow(&archiveWindow, archive::selection().groupPlaces());
            });
        };
    }
    std::printf("%.4f", open());
    for (int i = 0; i < kLaterOpenings; ++i)
        std::printf(" %.4f", open());
    std::printf("\n");
    return 0;
}

using bench::Stats;

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        app::installQtTranslation(application);
        app::setProgramIcon(application);
        ui::applyLook(application);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        return childRun(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    const int runs = argc > 1 ? std::max(10, atoi(argv[1])) : 10;
    const QString program = QString::fromLocal8Bit(argv[0]);
    // bench/ and Data/ lie side by side in the build tree.
    const QString dataFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2])
                 : QFileInfo(program).absoluteDir().absoluteFilePath(QStringLiteral("../Data"));

    std::printf("chart opening to its first painted frame, ms: first opening in %d fresh "
                "processes, later openings %d per process (min / median)\n",
                runs, kLaterOpenings);
    std::printf("%-12s %19s %19s\n", "chart", "first", "later");
    for (const char* kind : {"profile", "comparison", "group"}) {
        std::vector<double> first, later;
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            child.start(program, {QStringLiteral("--child"), QLatin1String(kind), dataFolder});
            if (!child.waitForFinished(-1) || child.exitCode() != 0)
                qFatal("child failed: %s", child.readAllStandardError().constData());
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            first.push_back(fields.constFirst().toDouble());
            for (qsizetype i = 1; i < fields.size(); ++i)
                later.push_back(fields[i].toDouble());
        }
        const Stats a = bench::statsOf(first);
        const Stats b = bench::statsOf(later);
        std::printf("%-12s %8.2f / %8.2f %8.2f / %8.2f\n", kind, a.min, a.median, b.min, b.median);
    }
    return 0;
}
