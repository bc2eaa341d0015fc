// The class statistics of a 1,000,000-record result file against the CSV table of the same
// file, both as dorvel-export makes them: every record read and decoded, the table written
// to a device, the statistics gathered and their 18 lines made. The goal: the statistics take
// at most three times the table's time.
// Usage: bench_group_stats [folder]  (default: the system's temporary folder).

#include "bench/bench_support.h"
#include "export/stats_table.h"
#include "export/table_export.h"
#include "scoring/group_statistics.h"

#include <QFile>
#include <cstdio>

using namespace scoring;

namespace {

constexpr qint64 kRecords = 1'000'000;
const QString kName = QStringLiteral("result/big.res");

// Thirty classes of thirty, the stens spread over the whole range.
ResultRecord sampleRecord(qint64 i) {
    ResultRecord record;
    record.surname = QStringLiteral("Субъект-%1").arg(i % 1000);
    record.firstName = QStringLiteral("Имя");
    record.course = QString::number(1 + i % 5);
    record.group = QStringLiteral("ПС-%1").arg(i / 30 % 30);
    for (int k = 0; k < kScales; ++k)
        record.scales[std::size_t(k)] = quint8(1 + (i * 7 + k * 3) % 10);
    record.date = 46365.0 + double(i % 3);
    return record;
}

} // namespace

int main(int argc, char** argv) {
    const QTemporaryDir dir = bench::workingFolder(argc, argv);
    bench::writeRecords(kName, kRecords, sampleRecord);
    constexpr int kRuns = 5;

    QFile nowhere(QStringLiteral("/dev/null"));
    if (!nowhere.open(QIODevice::WriteOnly))
        qFatal("cannot open /dev/null");
    const double table = bench::medianMilliseconds(kRuns, [&] {
        if (!exporting::writeTable(nowhere, {kName}).isEmpty())
            qFatal("the file could not be read");
    });
    const double tableToFile = bench::medianMilliseconds(kRuns, [] {
        QFile out(QStringLiteral("table.csv"));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot create table.csv");
        exporting::writeTable(out, {kName});
    });
    qint64 counted = 0;
    QByteArray csv;
    const double stats = bench::medianMilliseconds(kRuns, [&] {
        GroupStatistics statistics;
        if (!exporting::gatherStatistics({kName}, {}, statistics).isEmpty())
            qFatal("the file could not be read");
        csv = exporting::statsCsv(statistics);
        counted = statistics.records();
    });
    RecordFilter oneGroup;
    oneGroup.group = QStringLiteral("пс-7");
    const double filtered = bench::medianMilliseconds(kRuns, [&] {
        GroupStatistics statistics;
        exporting::gatherStatistics({kName}, oneGroup, statistics);
        counted = statistics.records() > 0 ? counted : -1;
    });
    if (counted != kRecords || csv.count('\n') != 18)
        qFatal("the statistics missed records");

    std::printf("%lld records, %lld bytes; medians of %d runs\n", kRecords, kRecords * kRecordSize,
                kRuns);
    std::printf("CSV table to /dev/null:           %8.1f ms\n", table);
    std::printf("CSV table to table.csv:           %8.1f ms\n", tableToFile);
    std::printf("statistics of every record:       %8.1f ms  %5.2f x the table\n", stats,
                stats / table);
    std::printf("statistics of one group (filter): %8.1f ms  %5.2f x the table\n", filtered,
                filtered / table);
    return 0;
}
