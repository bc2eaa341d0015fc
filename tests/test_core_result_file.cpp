// The 88-byte result record and the result file: encoding, appending, reading, failures.

#include "platform/codepage.h"
#include "platform/dates.h"
#include "platform/os_files.h"
#include "scoring/result_file.h"
#include "tests/append_records.h"
#include "tests/support/core_support.h"
#include "tests/support/record_builder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cmath>
#include <limits>
#include <memory>

using namespace scoring;
using testing::errorOf;

namespace {

const QString kFile = QStringLiteral("result\\25.03.2007.res");

// A fresh working directory with the folder "result".
struct ResultFolder : testing::TempWorkDir {
    ResultFolder() { makeFolder(QStringLiteral("result")); }
};

// Stray bytes of a damaged or earlier file, easy to tell from a record.
QByteArray stray(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(0xA0 + i % 50);
    return bytes;
}

ResultRecord sampleRecord() {
    return testing::Record()
        .firstName(QStringLiteral("Пётр"))
        .group(QStringLiteral("ПС-21"))
        .stens({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 9, 8, 7, 6, 5, 4})
        .dayCount(39166.0) // 25 March 2007
        .manualEntry(1);
}

// The text field whose length byte stands at `offset`: 0, 21, 42 or 48.
QString& fieldAt(ResultRecord& record, int offset) {
    QString* fields[] = {&record.surname, &record.firstName, &record.course, &record.group};
    return *fields[offset == 0 ? 0 : offset == 21 ? 1 : offset == 42 ? 2 : 3];
}

// The steps the tests run in a child process of their own.
const testing::ChildSteps kChildSteps = {
    {QStringLiteral("append"),
     [](const QString& name) {
         platform::os::ignoreFileSizeSignal(); // as the program does at start
         appendRecord(name, sampleRecord());
     }},
};

// A process of its own saving into a result file (tests/append_records.cpp); it has started.
std::unique_ptr<QProcess> startAppender(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(DORVEL_APPEND_RECORDS), arguments);
    if (!process->waitForStarted())
        qFatal("cannot start %s", DORVEL_APPEND_RECORDS);
    return process;
}

// The line the appender says next ("ready", "locked"), or an empty text after 30 s.
QByteArray nextLine(QProcess& process) {
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(30000))
            return QByteArray();
    }
    return process.readLine().trimmed();
}

} // namespace

class TestCoreResultFile : public QObject {
    Q_OBJECT

private slots:
    void recordBytes_data();
    void recordBytes();
    void roundTrip();
    void cutting_data();
    void cutting();
    void damagedLength_data();
    void damagedLength();
    void damagedDate_data();
    void damagedDate();
    void appending_data();
    void appending();
    void twoSaves();
    void failedAppend_data();
    void failedAppend();
    void refusedAppend_data();
    void refusedAppend();
    void computersSavingAtOnce();
    void lockedByAnotherComputer_data();
    void lockedByAnotherComputer();
    void reading();
    void everyByteOfTheCodePage();
    void readingFailures_data();
    void readingFailures();
    void sameRecord_data();
    void sameRecord();
};

void TestCoreResultFile::recordBytes_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("surname") << 0 << QByteArray("06 c8e2e0edeee2 0000000000000000000000000000");
    QTest::newRow("first name") << 21 << QByteArray("04 cfb8f2f0 00000000000000000000000000000000");
    QTest::newRow("course") << 42 << QByteArray("01 32 00000000");
    QTest::newRow("group") << 48 << QByteArray("05 cfd12d3231");
    QTest::newRow("scales") << 54 << QByteArray("0102030405060708090a0a090807060504");
    QTest::newRow("padding 71") << 71 << QByteArray("00");
    QTest::newRow("date, double LE") << 72 << QByteArray("00000000c01fe340");
    QTest::newRow("manual entry") << 80 << QByteArray("01");
    QTest::newRow("padding 81-87") << 81 << QByteArray("00000000000000");
}

// Bytes the record does not define are 0, so nothing of an earlier, longer subject is stored.
void TestCoreResultFile::recordBytes() {
    QFETCH(int, offset);
    QFETCH(QByteArray, hex);
    const QByteArray expected = QByteArray::fromHex(hex);
    ResultRecord longer = sampleRecord();
    longer.surname = QStringLiteral("Преображенская-Лесная");
    longer.firstName = QStringLiteral("Александра-Виктория");
    longer.course = QStringLiteral("55555");
    encodeRecord(longer);
    const QByteArray bytes = encodeRecord(sampleRecord());
    QCOMPARE(bytes.size(), kRecordSize);
    QCOMPARE(bytes.mid(offset, expected.size()).toHex(), expected.toHex());
}

void TestCoreResultFile::roundTrip() {
    ResultRecord record = sampleRecord();
    record.surname = QStringLiteral("Абвгдеёжзийклмнопрст"); // 20, the longest kept whole
    record.course = QString();
    record.date = -693593.0; // 1 January 0001
    record.manualEntry = 0;
    const ResultRecord back = decodeRecord(encodeRecord(record));
    QCOMPARE(back.surname, record.surname);
    QCOMPARE(back.firstName, record.firstName);
    QCOMPARE(back.course, record.course);
    QCOMPARE(back.group, record.group);
    QCOMPARE(back.scales, record.scales);
    QCOMPARE(back.date, record.date);
    QCOMPARE(back.manualEntry, record.manualEntry);
}

void TestCoreResultFile::cutting_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    const QString letters = QStringLiteral("Константинопольский-Ж"); // 21 letters
    QTest::newRow("surname of 25") << 0 << QStringLiteral("Abcdefghijklmnopqrstuvwxy")
                                   << QStringLiteral("Abcdefghijklmnopqrst");
    QTest::newRow("first name of 21 Cyrillic") << 21 << letters << letters.left(20);
    QTest::newRow("course of 6") << 42 << QStringLiteral("123456") << QStringLiteral("12345");
    QTest::newRow("group of 7") << 48 << QStringLiteral("ПСИ-211") << QStringLiteral("ПСИ-2");
    QTest::newRow("empty group") << 48 << QString() << QString();
    QTest::newRow("group of exactly 5") << 48 << QStringLiteral("АБВГД") << QStringLiteral("АБВГД");
}

void TestCoreResultFile::cutting() {
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    encodeRecord(sampleRecord()); // an earlier subject: none of its texts may be left behind
    ResultRecord record;
    fieldAt(record, offset) = text;
    const QByteArray bytes = encodeRecord(record);
    QCOMPARE(int(quint8(bytes[offset])), int(stored.size()));
    QCOMPARE(bytes.mid(offset + 1, int(stored.size())), platform::toCp1251(stored));
    const int rest = (offset < 42 ? 20 : 5) - int(stored.size());
    QCOMPARE(bytes.mid(offset + 1 + int(stored.size()), rest), QByteArray(rest, '\0'));
    ResultRecord back = decodeRecord(bytes);
    QCOMPARE(fieldAt(back, offset), stored);
}

// A damaged length byte reads at most the field's own characters, never the next field.
void TestCoreResultFile::damagedLength_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("read");
    QTest::newRow("surname 255") << 0 << 255 << 20;
    QTest::newRow("surname 21") << 0 << 21 << 20;
    QTest::newRow("first name 200") << 21 << 200 << 20;
    QTest::newRow("course 6") << 42 << 6 << 5;
    QTest::newRow("group 255") << 48 << 255 << 5;
    QTest::newRow("group 5, not damaged") << 48 << 5 << 5;
}

void TestCoreResultFile::damagedLength() {
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(int, read);
    QByteArray bytes(kRecordSize, '\xC0'); // "А" everywhere: a longer read would show it
    bytes[offset] = char(length);
    ResultRecord record = decodeRecord(bytes);
    QCOMPARE(fieldAt(record, offset), QString(read, QChar(0x0410)));
}

// A stored date that is no day of the calendar is shown as an empty date.
void TestCoreResultFile::damagedDate_data() {
    QTest::addColumn<double>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("25 March 2007") << 39166.0 << QStringLiteral("25.03.2007");
    QTest::newRow("with a fraction") << 39166.75 << QStringLiteral("25.03.2007");
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << QString();
    QTest::newRow("+infinity") << std::numeric_limits<double>::infinity() << QString();
    QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity() << QString();
    QTest::newRow("1e300") << 1e300 << QString();
    QTest::newRow("after 9999") << 2958466.0 << QString();
    QTest::newRow("before year 1") << -693594.0 << QString();
    QTest::newRow("largest negative") << -std::numeric_limits<double>::max() << QString();
}

void TestCoreResultFile::damagedDate() {
    QFETCH(double, date);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ResultRecord record = sampleRecord();
    record.date = date;
    const ResultRecord back = decodeRecord(encodeRecord(record));
    QCOMPARE(platform::formatDayCount(back.date), shown);
    QCOMPARE(platform::dateFromDayCount(back.date).has_value(), !shown.isEmpty());
}

// The new record goes after the last whole record; a trailing partial record is overwritten.
void TestCoreResultFile::appending_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::newRow("missing file") << false << 0 << 0;
    QTest::newRow("empty file") << true << 0 << 0;
    QTest::newRow("100 bytes") << true << 100 << 88;
    QTest::newRow("176 bytes") << true << 176 << 176;
    QTest::newRow("87 bytes") << true << 87 << 0;
}

void TestCoreResultFile::appending() {
    QFETCH(bool, exists);
    QFETCH(int, size);
    QFETCH(int, offset);
    ResultFolder dir;
    const QByteArray before = stray(size);
    if (exists)
        dir.writeFile(QStringLiteral("result/25.03.2007.res"), before);

    appendRecord(kFile, sampleRecord());
    const QByteArray after = dir.readFile(QStringLiteral("result/25.03.2007.res"));
    QCOMPARE(after.size(), offset + kRecordSize);
    QCOMPARE(after.left(offset), before.left(offset));
    QCOMPARE(after.mid(offset), encodeRecord(sampleRecord()));
    QCOMPARE(recordCount(kFile), qint64(offset / kRecordSize + 1));
}

void TestCoreResultFile::twoSaves() {
    ResultFolder dir;
    QDir::current().rename(QStringLiteral("result"), QStringLiteral("Result")); // any letter case
    ResultRecord second = sampleRecord();
    second.surname = QStringLiteral("Петрова");
    appendRecord(kFile, sampleRecord());
    appendRecord(kFile, second);
    const QByteArray bytes = dir.readFile(QStringLiteral("Result/25.03.2007.res"));
    QCOMPARE(bytes, encodeRecord(sampleRecord()) + encodeRecord(second));
}

// A write that fails, at once or midway, leaves the file byte for byte as it was and throws.
// The program saves under a file-size limit of the system: the save fails as on a full disk
// instead of the program ending in the middle of its record.
void TestCoreResultFile::failedAppend_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit"); // the largest file the system then allows
    QTest::newRow("176 bytes, no room") << 176 << 176;
    QTest::newRow("176 bytes, room for 40") << 176 << 216;
    QTest::newRow("176 bytes, room for 87") << 176 << 263;
    QTest::newRow("100 bytes, partial record, room for 20") << 100 << 120;
    QTest::newRow("100 bytes, partial record, room for 0") << 100 << 100;
    QTest::newRow("empty file") << 0 << 0;
}

void TestCoreResultFile::failedAppend() {
    QFETCH(int, size);
    QFETCH(int, limit);
    ResultFolder dir;
    const QByteArray before = stray(size);
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), before);
    QCOMPARE(
        testing::errorInChild(testing::fileSizeLimited(limit), QStringLiteral("append"), kFile),
        QStringLiteral("Disk full"));
    QCOMPARE(dir.readFile(QStringLiteral("result/25.03.2007.res")).toHex(), before.toHex());
}

// A save that cannot be made changes no file; one through a symbolic link or into a FIFO is
// refused as a file that may not be written.
void TestCoreResultFile::refusedAppend_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("present"); // what has the name
    QTest::addColumn<QString>("error");
    const QString other = QStringLiteral("result\\26.03.2007.res");
    const QString denied = QStringLiteral("File access denied");
    QTest::newRow("folder missing")
        << QStringLiteral("results\\25.03.2007.res") << "" << QStringLiteral("Invalid filename");
    QTest::newRow("short date with slashes")
        << QStringLiteral("result\\3/25/07.res") << "" << QStringLiteral("Invalid filename");
    QTest::newRow("read-only file") << kFile << "read-only" << denied;
    QTest::newRow("link to another result file") << other << "link" << denied;
    QTest::newRow("link pointing nowhere") << other << "dangling link" << denied;
    QTest::newRow("FIFO") << other << "FIFO" << denied;
}

void TestCoreResultFile::refusedAppend() {
    QFETCH(QString, name);
    QFETCH(QString, present);
    QFETCH(QString, error);
    ResultFolder dir;
    const QByteArray before = stray(100);
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), before);
    const QString path = dir.filePath(QStringLiteral("result/26.03.2007.res"));
    if (present == u"read-only") {
        QFile::setPermissions(QStringLiteral("result/25.03.2007.res"),
                              QFile::ReadOwner | QFile::ReadOther);
        QCOMPARE(testing::errorAsUnprivileged(QStringLiteral("append"), name), error);
    } else {
        if (present == u"link")
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("result/25.03.2007.res")), path));
        else if (present == u"dangling link")
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("lost.res")), path));
        else if (present == u"FIFO")
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {path}), 0);
        QCOMPARE(errorOf([&] { appendRecord(name, sampleRecord()); }), error);
    }
    QCOMPARE(dir.readFile(QStringLiteral("result/25.03.2007.res")), before);
    QCOMPARE(QDir(QStringLiteral("result")).entryList(QDir::Files | QDir::NoSymLinks),
             QStringList{QStringLiteral("25.03.2007.res")});
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("result")});
}

// Eight computers save into one file at the same moment: every record lands whole, none is
// lost or written over, and each computer's records keep their order.
void TestCoreResultFile::computersSavingAtOnce() {
    constexpr int kComputers = 8;
    constexpr int kEach = 250;
    // On a disk every append waits for its record to reach it; a folder in memory keeps 2,000 of
    // them quick.
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir dir(QFileInfo(memory).isWritable()
                          ? memory + QStringLiteral("/dorvel-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/dorvel-XXXXXX"));
    const QString file = dir.filePath(QStringLiteral("25.03.2007.res"));
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> computers;
    for (int c = 0; c < kComputers; ++c) {
        computers.push_back(
            startAppender({QStringLiteral("append"), file, QStringLiteral("Компьютер %1").arg(c),
                           QString::number(kEach)}));
        QCOMPARE(nextLine(*computers.back()), QByteArray("ready"));
    }
    for (const auto& computer : computers) { // all start together
        computer->write("go\n");
        computer->waitForBytesWritten();
    }
    for (const auto& computer : computers) {
        QVERIFY(computer->waitForFinished(60000));
        QVERIFY2(computer->exitCode() == 0, computer->readAllStandardError().constData());
    }
    qInfo("%d computers saved %d records each in %lld ms", kComputers, kEach, timer.elapsed());

    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QCOMPARE(bytes.size(), qsizetype(kComputers) * kEach * kRecordSize);
    std::array<int, kComputers> next{}; // the number of each computer's next record
    for (qsizetype at = 0; at < bytes.size(); at += kRecordSize) {
        const QByteArray record = bytes.mid(at, kRecordSize);
        const QString tag = decodeRecord(record).surname;
        const int c = tag.section(u' ', 1).toInt();
        QVERIFY2(tag == QStringLiteral("Компьютер %1").arg(c) && c >= 0 && c < kComputers,
                 qPrintable(tag));
        QCOMPARE(record, encodeRecord(numberedRecord(tag, next[std::size_t(c)]++)));
    }
    for (int c = 0; c < kComputers; ++c)
        QCOMPARE(next[std::size_t(c)], kEach);
}

// Another computer holds the file's lock while it saves: this save waits, repainting as it
// goes, and lands after the other record; or, held past the limit, it writes nothing and says
// so. Reading the file meanwhile is not held up.
void TestCoreResultFile::lockedByAnotherComputer_data() {
    QTest::addColumn<int>("held");  // ms the other computer holds the lock
    QTest::addColumn<int>("limit"); // ms this save waits at most
    QTest::addColumn<bool>("saved");
    QTest::newRow("released in time") << 500 << 10000 << true;
    QTest::newRow("held past the limit") << 60000 << 300 << false;
}

void TestCoreResultFile::lockedByAnotherComputer() {
    QFETCH(int, held);
    QFETCH(int, limit);
    QFETCH(bool, saved);
    ResultFolder dir;
    const QByteArray before = encodeRecord(sampleRecord()) + stray(30);
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), before);
    const auto other = startAppender(
        {QStringLiteral("hold"), kFile, QStringLiteral("Другой"), QString::number(held)});
    QCOMPARE(nextLine(*other), QByteArray("locked"));
    QCOMPARE(readRecord(kFile, 0).surname, sampleRecord().surname);

    ResultRecord mine = sampleRecord();
    mine.surname = QStringLiteral("Этот");
    int repaints = 0;
    const QString error = errorOf([&] {
        appendRecord(kFile, mine, {std::chrono::milliseconds(limit), [&] { ++repaints; }});
    });
    QVERIFY(repaints > 0);
    if (saved) {
        QCOMPARE(error, QString());
        QVERIFY(other->waitForFinished());
        QCOMPARE(other->exitCode(), 0);
    } else {
        // The system's number for a lock another process holds.
        QVERIFY2(error == QStringLiteral("I/O error %1").arg(EAGAIN) ||
                     error == QStringLiteral("I/O error %1").arg(EACCES),
                 qPrintable(error));
        other->kill();
        other->waitForFinished();
    }
    const QByteArray theirs = encodeRecord(numberedRecord(QStringLiteral("Другой"), 0));
    const QByteArray expected =
        saved ? before.left(kRecordSize) + theirs + encodeRecord(mine) : before;
    QCOMPARE(dir.readFile(QStringLiteral("result/25.03.2007.res")).toHex(), expected.toHex());
}

// Reading gives the whole records in file order; a trailing partial record is not one.
void TestCoreResultFile::reading() {
    ResultFolder dir;
    QList<ResultRecord> saved;
    QByteArray bytes;
    for (int i = 0; i < 3; ++i) {
        ResultRecord record = sampleRecord();
        record.surname = QStringLiteral("Субъект %1").arg(i);
        record.scales.fill(quint8(i + 1));
        saved << record;
        bytes += encodeRecord(record);
    }
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), bytes + stray(40));
    QFile::setPermissions(QStringLiteral("result/25.03.2007.res"), QFile::ReadOwner);

    QCOMPARE(recordCount(kFile), qint64(3));
    for (int i = 0; i < 3; ++i) {
        const ResultRecord one = readRecord(kFile, i);
        QCOMPARE(one.surname, saved[i].surname);
        QCOMPARE(one.scales, saved[i].scales);
    }
}

// Names holding every byte value read back as code page 1251 says, one character a byte.
void TestCoreResultFile::everyByteOfTheCodePage() {
    ResultFolder dir;
    QByteArray bytes;
    for (int first = 0; first < 256; first += 20) {
        QByteArray record = encodeRecord(sampleRecord());
        record[0] = char(20);
        for (int i = 0; i < 20; ++i)
            record[1 + i] = char((first + i) % 256);
        bytes += record;
    }
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), bytes);
    QCOMPARE(recordCount(kFile), bytes.size() / kRecordSize);
    for (int i = 0; i < bytes.size() / kRecordSize; ++i) {
        const QString expected = platform::fromCp1251(bytes.mid(i * kRecordSize + 1, 20));
        QCOMPARE(expected.size(), 20);
        const ResultRecord record = readRecord(kFile, i);
        QCOMPARE(record.surname, expected);
        QCOMPARE(record.firstName, sampleRecord().firstName);
    }
}

void TestCoreResultFile::readingFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QString>("error");
    QTest::newRow("partial record")
        << kFile << qint64(1) << QStringLiteral("Read beyond end of file");
    QTest::newRow("past the end") << kFile << qint64(5)
                                  << QStringLiteral("Read beyond end of file");
    QTest::newRow("negative") << kFile << qint64(-1) << QStringLiteral("Read beyond end of file");
    QTest::newRow("missing file") << QStringLiteral("result\\01.01.2001.res") << qint64(0)
                                  << QStringLiteral("File not found");
    QTest::newRow("missing folder") << QStringLiteral("nowhere\\01.01.2001.res") << qint64(0)
                                    << QStringLiteral("Invalid filename");
}

void TestCoreResultFile::readingFailures() {
    QFETCH(QString, name);
    QFETCH(qint64, index);
    QFETCH(QString, error);
    ResultFolder dir;
    dir.writeFile(QStringLiteral("result/25.03.2007.res"),
                  encodeRecord(sampleRecord()) + stray(50));
    QCOMPARE(errorOf([&] { readRecord(name, index); }), error);
    if (index == 0)
        QCOMPARE(errorOf([&] { recordCount(name); }), error);
}

// A sheet saved already is found by its record, field by field; a record differing in any one
// field is another, and damaged records before it are passed over.
void TestCoreResultFile::sameRecord_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<qint64>("found"); // -1: none
    for (const char* same : {"same", "surname past its field"})
        QTest::newRow(same) << QString::fromLatin1(same) << qint64(3);
    for (const char* other :
         {"surname", "first name", "course", "group", "one sten", "date", "entry mode"})
        QTest::newRow(other) << QString::fromLatin1(other) << qint64(-1);
}

void TestCoreResultFile::sameRecord() {
    QFETCH(QString, change);
    QFETCH(qint64, found);
    ResultFolder dir;
    ResultRecord saved = sampleRecord();
    saved.surname = QStringLiteral("Иванова-Петровская-Сидоренко"); // 28 characters, 20 kept
    QByteArray damagedSten = encodeRecord(saved);
    damagedSten[54 + 5] = char(0xEE);
    QByteArray damagedDate = encodeRecord(saved);
    damagedDate.replace(72, 8, QByteArray::fromHex("000000000000f87f")); // NaN
    ResultRecord other = saved;
    other.surname = QStringLiteral("Другой");
    dir.writeFile(QStringLiteral("result/25.03.2007.res"), damagedSten + damagedDate +
                                                               encodeRecord(other) +
                                                               encodeRecord(saved) + stray(40));

    ResultRecord record = saved;
    if (change == QStringLiteral("surname past its field"))
        record.surname[24] = u'я';
    else if (change == QStringLiteral("surname"))
        record.surname[0] = u'Ж';
    else if (change == QStringLiteral("first name"))
        record.firstName = QStringLiteral("Павел");
    else if (change == QStringLiteral("course"))
        record.course = QStringLiteral("3");
    else if (change == QStringLiteral("group"))
        record.group = QStringLiteral("ПС-22");
    else if (change == QStringLiteral("one sten"))
        record.scales[16] = 5;
    else if (change == QStringLiteral("date"))
        record.date += 1;
    else if (change == QStringLiteral("entry mode"))
        record.manualEntry = 0;
    QCOMPARE(findSameRecord(kFile, record).value_or(-1), found);
    // A day without a file yet holds nothing to compare.
    QCOMPARE(findSameRecord(QStringLiteral("result\\01.01.2001.res"), saved), std::nullopt);
}

int main(int argc, char** argv) {
    if (const auto exitCode = testing::runChildStep(argc, argv, kChildSteps))
        return *exitCode;
    QCoreApplication application(argc, argv);
    TestCoreResultFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_core_result_file.moc"
