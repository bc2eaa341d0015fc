// Result files: the time of one append to an empty and to a 1,000,000-record file (nothing
// before the end is read, so it must not grow with the file), and decoding every record of a
// 1,000,000-record file, one at a time as the archive's list does, compared with a plain read
// of the same bytes.
// Usage: bench_result_file [folder]  (default: the system's temporary folder). Every append waits
// for the disk (fdatasync), so on a disk the append time is mostly that wait; a tmpfs folder
// such as /dev/shm shows the program's own part.

#include "bench/bench_support.h"
#include "platform/files.h"
#include "scoring/result_file.h"
#include "tests/support/record_builder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace scoring;

namespace {

constexpr qint64 kBigFile = 1'000'000;
const QString kEmptyName = QStringLiteral("result\\empty.res");
const QString kBigName = QStringLiteral("result\\big.res");

ResultRecord sampleRecord(int i) {
    return testing::Record()
        .surname(QStringLiteral("Субъект-%1").arg(i))
        .firstName(QStringLiteral("Имя"))
        .course(QStringLiteral("3"))
        .group(QStringLiteral("ПС-31"))
        .varied(i)
        .dayCount(39166.0);
}

void writeBigFile(const QString& path) {
    bench::writeRecords(path, kBigFile, [](qint64 i) { return sampleRecord(int(i % 1000)); });
}

} // namespace

int main(int argc, char** argv) {
    const QTemporaryDir dir = bench::workingFolder(argc, argv);
    writeBigFile(QStringLiteral("result/big.res"));
    const ResultRecord record = sampleRecord(7);

    // Append: each run to a fresh empty file, and to the big file, which grows by a few records.
    const double toEmpty = 1000.0 * bench::medianMilliseconds(200, [&] {
                               QFile::remove(QStringLiteral("result/empty.res"));
                               appendRecord(kEmptyName, record);
                           });
    const double toBig =
        1000.0 * bench::medianMilliseconds(200, [&] { appendRecord(kBigName, record); });
    std::printf("append one record, file of 0 records:         %9.1f us (median of 200)\n",
                toEmpty);
    std::printf("append one record, file of 1,000,000 records: %9.1f us (median of 200)\n", toBig);
    std::printf("  ratio big/empty: %.2f\n", toBig / toEmpty);

    // Reading: the plain bytes, then every record decoded from them.
    const qint64 count = recordCount(kBigName);
    QByteArray bytes;
    const double plain = 1000.0 * bench::medianMilliseconds(5, [&] {
                             const platform::FileHandle file =
                                 platform::openFile(kBigName, platform::Access::ReadOnly);
                             bytes = platform::readExactly(file, 0, count * kRecordSize, kBigName);
                         });
    qint64 decoded = 0;
    const double all = 1000.0 * bench::medianMilliseconds(5, [&] {
                           decoded = 0;
                           for (qint64 i = 0; i < count; ++i) {
                               const QByteArray record = QByteArray::fromRawData(
                                   bytes.constData() + i * kRecordSize, kRecordSize);
                               decoded += decodeRecord(record).scales[0] > 0 ? 1 : 0;
                           }
                       });
    if (decoded != count)
        qFatal("decoded %lld of %lld records", decoded, count);
    std::printf("decode every record of %lld records: %8.1f ms, %.2f million records/s\n", count,
                all / 1000.0, double(count) / all);
    std::printf("plain read of the same %lld bytes:    %8.1f ms, %.2f million records/s\n",
                count * kRecordSize, plain / 1000.0, double(count) / plain);
    std::printf("  ratio decode / plain read: %.1f\n", all / plain);
    return 0;
}
