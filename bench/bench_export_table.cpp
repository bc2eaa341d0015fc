// The table of dorvel-export for a 1,000,000-record result file, compared with a plain read of
// the same file: the table written to a device that keeps nothing (the exporter's own work)
// and to a file, and, for scale, only decoding every record the way the table reads them; then
// the same records saved as CSV, XLSX and SAV files the way the tool saves them, each against
// the CSV file.
// Usage: bench_export_table [folder]  (default: the system's temporary folder).

#include "bench/bench_support.h"
#include "export/record_reading.h"
#include "export/table_export.h"
#include "export/table_formats.h"
#include "graphics/texts.h"
#include "platform/files.h"
#include "scoring/explanations.h"
#include "scoring/result_file.h"
#include "tests/support/record_builder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace scoring;

namespace {

constexpr qint64 kRecords = 1'000'000;
const QString kName = QStringLiteral("result/big.res");

ResultRecord sampleRecord(int i) {
    return testing::Record()
        .surname(QStringLiteral("Субъект-%1").arg(i))
        .firstName(QStringLiteral("Имя"))
        .course(QStringLiteral("3"))
        .group(QStringLiteral("ПС-31"))
        .varied(i)
        .dayCount(46365.0 + i % 3)
        .manualEntry(quint8(i % 2));
}

void writeBigFile(const QString& path) {
    bench::writeRecords(path, kRecords, [](qint64 i) { return sampleRecord(int(i % 1000)); });
}

// Takes every byte and keeps none, counting them.
class Sink : public QIODevice {
public:
    qint64 written = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        written += size;
        return size;
    }
};

} // namespace

int main(int argc, char** argv) {
    const QTemporaryDir dir = bench::workingFolder(argc, argv);
    writeBigFile(kName);
    constexpr int kRuns = 5;

    const double plain = bench::medianMilliseconds(kRuns, [] {
        const platform::FileHandle file = platform::openFile(kName, platform::Access::ReadOnly);
        const QByteArray bytes = platform::readExactly(file, 0, kRecords * kRecordSize, kName);
        if (bytes.size() != kRecords * kRecordSize)
            qFatal("short read");
    });
    // The same bytes read the way the table reads them: a few thousand records at a time into
    // one reused buffer, so without the cost of first touching 88 MB of fresh memory.
    const double pieces = bench::medianMilliseconds(kRuns, [] {
        constexpr qint64 kPiece = 64 * 1024 * kRecordSize;
        QFile file(kName);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            qFatal("cannot open %s", qPrintable(kName));
        QByteArray buffer(kPiece, Qt::Uninitialized);
        qint64 total = 0;
        for (qint64 got; (got = file.read(buffer.data(), kPiece)) > 0;)
            total += got;
        if (total != kRecords * kRecordSize)
            qFatal("short read");
    });
    const double baseline = std::min(plain, pieces);
    qint64 decoded = 0;
    const double decode = bench::medianMilliseconds(kRuns, [&] {
        decoded = 0;
        exporting::forEachRecord(kName, [&](qint64, const ResultRecord& record) {
            decoded += record.scales[0] > 0 ? 1 : 0;
        });
    });
    if (decoded != kRecords)
        qFatal("decoded %lld of %lld records", decoded, kRecords);
    Sink sink;
    sink.open(QIODevice::WriteOnly);
    const double table = bench::medianMilliseconds(kRuns, [&] {
        if (!exporting::writeTable(sink, {kName}).isEmpty())
            qFatal("the file could not be read");
    });
    const double toFile = bench::medianMilliseconds(kRuns, [&] {
        QFile out(QStringLiteral("table.csv"));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot create table.csv");
        exporting::writeTable(out, {kName});
    });

    // The files as the tool saves them: fewer runs, each takes seconds.
    constexpr int kFileRuns = 3;
    const scoring::Explanations& texts = graphics::explanations();
    const auto saved = [](const QList<exporting::FileFailure>& failures) {
        if (!failures.isEmpty())
            qFatal("the file could not be read");
    };
    const double csvFile = bench::medianMilliseconds(
        kFileRuns, [&] { saved(exporting::writeCsv(QStringLiteral("table.csv"), {kName})); });
    const double xlsxFile = bench::medianMilliseconds(kFileRuns, [&] {
        saved(exporting::writeXlsx(QStringLiteral("table.xlsx"), {kName}, texts));
    });
    const double savFile = bench::medianMilliseconds(kFileRuns, [&] {
        saved(exporting::writeSav(QStringLiteral("table.sav"), {kName}, texts));
    });

    std::printf("%lld records, %lld bytes; medians of %d runs; ratios to the faster plain read\n",
                kRecords, kRecords * kRecordSize, kRuns);
    std::printf("plain read, whole file at once:   %8.1f ms\n", plain);
    std::printf("plain read, in pieces:            %8.1f ms\n", pieces);
    std::printf("decode every record only:         %8.1f ms  %5.1f x\n", decode, decode / baseline);
    std::printf("table, kept nowhere (%lld bytes): %8.1f ms  %5.1f x\n", sink.written / kRuns,
                table, table / baseline);
    std::printf("table written to table.csv:       %8.1f ms  %5.1f x\n", toFile, toFile / baseline);
    std::printf("files as the tool saves them, medians of %d runs; ratios to the CSV file\n",
                kFileRuns);
    std::printf("CSV file:                         %8.1f ms\n", csvFile);
    std::printf("XLSX file:                        %8.1f ms  %5.1f x\n", xlsxFile,
                xlsxFile / csvFile);
    std::printf("SAV file:                         %8.1f ms  %5.1f x\n", savFile,
                savFile / csvFile);
    return 0;
}
