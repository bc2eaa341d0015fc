// How the archive's list scales with the file: each run lists a result file in a fresh process
// through the real window (offscreen), from the file accepted in the open dialog to the first
// page painted; then the first record is chosen into a place, and after that the list is
// scrolled to its end and the last record chosen. Files of 10, 10^4, 10^6 and 10^7 records
// (real records, written once into the folder); the listing is set against the 10-record case
// and against a plain read of the same bytes into a reused buffer with a warm cache. Each child
// reports its peak memory (VmHWM).
// Usage: bench_archive_list [folder] [--huge]   (--huge adds a sparse file of 100 GB)

#include "archive/archive_window.h"
#include "bench/bench_support.h"
#include "platform/dates.h"
#include "scoring/result_file.h"
#include "ui/file_dialog.h"
#include "ui/ui_kit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 10;

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// The peak resident memory of this process in MB, as the kernel counts it.
double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024.0;
    }
    return 0;
}

// ---- the child: one listing in a fresh process ----

// Everything pending done and the whole window painted: the list, its scroll bar, the places.
// A few rounds of events, since handling one may post the next (the scroll bar shown once its
// range is known, then the window's layout).
void paintNow(QWidget* window) {
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    window->repaint();
}

void choose(ArchiveWindow& window, QListView* list, int row) {
    list->setCurrentIndex(list->model()->index(row, 0));
    window.findChild<QPushButton*>(QStringLiteral("toComparisonButton"))->click();
    paintNow(&window);
}

int listOnce(const QString& path) {
    ArchiveWindow window(nullptr);
    window.create();
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    auto* list = window.findChild<QListView*>(QStringLiteral("subjectList"));
    auto* open = window.findChild<QAction*>(QStringLiteral("openAction"));
    bench::PaintCounter counter;
    list->viewport()->installEventFilter(&counter);

    QElapsedTimer timer;
    timer.start();
    ui::FileDialog::setNextAnswer(path);
    open->trigger();
    paintNow(&window);
    const double listed = msSince(timer);
    if (counter.paints == 0)
        qFatal("the list was not painted");

    timer.restart();
    choose(window, list, 0);
    const double first = msSince(timer);

    timer.restart();
    const int rows = list->model()->rowCount();
    list->scrollToBottom();
    choose(window, list, rows - 1);
    const double last = msSince(timer);

    const bool filled = !window.placeLabel(2)->text().isEmpty();
    std::printf("%.4f %.4f %.4f %.1f %d %d\n", listed, first, last, peakMemoryMb(), rows,
                int(filled));
    return 0;
}

// ---- the parent: files, plain reads, children ----

using bench::Stats;

// A result file of `count` records with varied names, courses, groups and dates.
void writeResultFile(const QString& path, qint64 count) {
    QByteArray block;
    constexpr int kBlock = 1000;
    for (int i = 0; i < kBlock; ++i) {
        scoring::ResultRecord record;
        record.surname = QStringLiteral("Фамилия%1").arg(i);
        record.firstName = QStringLiteral("Имя%1").arg(i * 7 % 1000);
        record.course = QString::number(1 + i % 5);
        record.group = QString::number(10 + i % 40);
        record.scales.fill(quint8(1 + i % 10));
        record.date = platform::dayCount(QDate(2007, 1, 1).addDays(i % 365));
        block += scoring::encodeRecord(record);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    for (qint64 written = 0; written < count; written += kBlock)
        file.write(block.constData(),
                   std::min<qint64>(kBlock, count - written) * scoring::kRecordSize);
}

void writeSparseFile(const QString& path, qint64 bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.resize(bytes))
        qFatal("cannot make %s", qPrintable(path));
}

// Opening the file and reading all of it into a buffer kept from run to run.
double plainReadMs(const QString& path, QByteArray& buffer) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const qint64 size = file.size();
    if (buffer.size() < size)
        buffer.resize(size);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(buffer.data() + done, size - done);
        if (got <= 0)
            qFatal("short read of %s", qPrintable(path));
        done += got;
    }
    return msSince(timer);
}

struct Row {
    QString label;
    Stats listed, first, last, read, memory;
    int rows = 0;
    bool filled = true;
};

Row measure(const QString& program, const QString& label, const QString& path, bool plainRead) {
    Row row{label, {}, {}, {}, {}, {}, 0, true};
    std::vector<double> listed, first, last, read, memory;
    QByteArray buffer;
    if (plainRead)
        plainReadMs(path, buffer); // warms the cache
    for (int run = 0; run < kRuns; ++run) {
        if (plainRead)
            read.push_back(plainReadMs(path, buffer));
        QProcess child;
        child.start(program, {QStringLiteral("--child"), path});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("child failed: %s", child.readAllStandardError().constData());
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 6)
            qFatal("unexpected child output");
        listed.push_back(fields[0].toDouble());
        first.push_back(fields[1].toDouble());
        last.push_back(fields[2].toDouble());
        memory.push_back(fields[3].toDouble());
        row.rows = fields[4].toInt();
        row.filled = row.filled && fields[5].toInt() == 1;
    }
    row.listed = bench::statsOf(listed);
    row.first = bench::statsOf(first);
    row.last = bench::statsOf(last);
    row.memory = bench::statsOf(memory);
    if (plainRead)
        row.read = bench::statsOf(read);
    return row;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        ui::applyLook(application);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        return listOnce(QString::fromLocal8Bit(argv[2]));
    }

    QString folder = QDir::tempPath();
    bool huge = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--huge") == 0)
            huge = true;
        else
            folder = QString::fromLocal8Bit(argv[i]);
    }
    QTemporaryDir dir(folder + QStringLiteral("/bench-archive-XXXXXX"));
    if (!dir.isValid())
        qFatal("cannot make a folder in %s", qPrintable(folder));
    const QString program = QString::fromLocal8Bit(argv[0]);

    std::vector<Row> rows;
    for (const qint64 count : {qint64(10), qint64(10'000), qint64(1'000'000), qint64(10'000'000)}) {
        const QString path = dir.filePath(QStringLiteral("r%1.res").arg(count));
        writeResultFile(path, count);
        rows.push_back(measure(program, QString::number(count), path, true));
        QFile::remove(path);
    }
    if (huge) {
        const QString path = dir.filePath(QStringLiteral("sparse.res"));
        writeSparseFile(path, qint64(100) * 1000 * 1000 * 1000);
        rows.push_back(measure(program, QStringLiteral("100 GB sparse"), path, false));
        QFile::remove(path);
    }

    std::printf("first listing in a fresh process, %d runs each (min / median ms; memory MB)\n",
                kRuns);
    std::printf("%-14s %11s %17s %17s %17s %9s %9s %15s %17s\n", "records", "rows", "list+paint",
                "choose first", "end+choose last", "x 10 rec", "x read", "plain read",
                "peak memory");
    const double base = rows.front().listed.median;
    for (const Row& row : rows) {
        const bool read = row.read.median > 0;
        std::printf(
            "%-14s %11d %8.2f /%7.2f %8.2f /%7.2f %8.2f /%7.2f %9.1f %9s %15s %8.1f /%7.1f%s\n",
            qPrintable(row.label), row.rows, row.listed.min, row.listed.median, row.first.min,
            row.first.median, row.last.min, row.last.median, row.listed.median / base,
            read ? qPrintable(QString::number(row.listed.median / row.read.median, 'f', 2)) : "-",
            read ? qPrintable(QStringLiteral("%1 /%2")
                                  .arg(row.read.min, 0, 'f', 3)
                                  .arg(row.read.median, 0, 'f', 3))
                 : "-",
            row.memory.min, row.memory.median, row.filled ? "" : "  (last not chosen)");
    }
    return 0;
}
