// How long the archive takes to list a result file of 10,000 and of 1,000,000 records: the
// file accepted into the list, the list painted, scrolled to its end and painted again, all
// through the real window offscreen; set against a plain read of the same bytes. Also the
// time of one page step while scrolling through the big list.

#include "archive/archive_window.h"
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
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A result file of `count` records with varied names, courses, groups and dates.
void writeResultFile(const QString& path, int count) {
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
        return;
    for (int written = 0; written < count; written += kBlock)
        file.write(block.constData(),
                   qint64(std::min(kBlock, count - written)) * scoring::kRecordSize);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double plainReadMs(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (bytes.isEmpty())
        std::printf("(empty read)\n");
    return ms;
}

QListView* subjectList(const ArchiveWindow& window) {
    return window.findChild<QListView*>(QStringLiteral("subjectList"));
}

void paintNow(QListView* list) {
    QCoreApplication::processEvents();
    list->viewport()->repaint();
}

struct ListTimes {
    double accept = 0; // the file read into the list
    double firstPaint = 0;
    double toEnd = 0; // scrolled to the last line and painted
    double total() const { return accept + firstPaint + toEnd; }
};

// Accept the file, paint the first page, scroll to the end and paint it.
ListTimes listMs(ArchiveWindow& window, const QString& path) {
    QListView* list = subjectList(window);
    QAction* open = window.findChild<QAction*>(QStringLiteral("openAction"));
    QElapsedTimer timer;
    timer.start();
    ui::FileDialog::setNextAnswer(path);
    open->trigger();
    const double a = double(timer.nsecsElapsed()) / 1e6;
    paintNow(list);
    const double b = double(timer.nsecsElapsed()) / 1e6;
    list->scrollToBottom();
    paintNow(list);
    const double c = double(timer.nsecsElapsed()) / 1e6;
    return {a, b - a, c - b};
}

// Mean time of one page step (scroll and paint) while paging down from the top.
double pageStepMs(ArchiveWindow& window, int steps) {
    QListView* list = subjectList(window);
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(0);
    paintNow(list);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < steps; ++i) {
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        paintNow(list);
    }
    return double(timer.nsecsElapsed()) / 1e6 / steps;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ui::applyLook(application);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    QTemporaryDir dir;
    ArchiveWindow window(nullptr);
    window.create();
    window.show();
    QCoreApplication::processEvents();

    std::printf("%-10s %9s %9s %9s %9s %9s %7s %9s\n", "records", "accept", "paint", "to end",
                "list ms", "read ms", "ratio", "lines");
    for (const int count : {10'000, 1'000'000}) {
        const QString path = dir.filePath(QStringLiteral("r%1.res").arg(count));
        writeResultFile(path, count);
        std::vector<double> accept, paint, toEnd, list, read;
        for (int run = 0; run < 5; ++run) {
            read.push_back(plainReadMs(path));
            const ListTimes times = listMs(window, path);
            accept.push_back(times.accept);
            paint.push_back(times.firstPaint);
            toEnd.push_back(times.toEnd);
            list.push_back(times.total());
        }
        const double listTime = median(list);
        const double readTime = median(read);
        std::printf("%-10d %9.2f %9.2f %9.2f %9.2f %9.2f %7.1f %9d\n", count, median(accept),
                    median(paint), median(toEnd), listTime, readTime,
                    readTime > 0 ? listTime / readTime : 0.0,
                    subjectList(window)->model()->rowCount());
    }
    std::printf(
        "(medians of 5 runs; ratio = list ms / read ms, the plain read of the same file)\n");
    std::printf("page step through 1,000,000 lines: %.3f ms (mean of 200)\n",
                pageStepMs(window, 200));
    return 0;
}
