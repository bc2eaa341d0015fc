// The file layer's error texts, path lookup in any letter case, special files and links,
// dates and the text reader.

#include "platform/codepage.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "scoring/result_file.h"
#include "tests/support/core_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QThread>

#include <cerrno>

using namespace platform;
using testing::errorAsUnprivileged;
using testing::errorOf;

namespace {

// The steps the tests run in a child process of their own.
const testing::ChildSteps kChildSteps = {
    {QStringLiteral("openToRead"), [](const QString& name) { openFile(name, Access::ReadOnly); }},
    {QStringLiteral("openToWrite"), [](const QString& name) { openFile(name, Access::ReadWrite); }},
};

// The error text of `step`, run on a thread of its own: one still waiting after 10 s, held up by
// the FIFO `fifo`, is let go by writing into it, and reads "blocked".
QString errorWithoutBlocking(const QString& fifo, const std::function<void()>& step) {
    QString error;
    const std::unique_ptr<QThread> thread(QThread::create([&] { error = errorOf(step); }));
    thread->start();
    if (thread->wait(10000))
        return error;
    QFile writer(fifo);
    if (writer.open(QIODevice::WriteOnly)) // the waiting open goes on once a writer comes
        writer.write("x");
    writer.close();
    thread->wait();
    return QStringLiteral("blocked");
}

// Runs a file operation on `name` by its word: "open", "create", "openOrCreate", "text",
// "picture", "records" (of a result file) or "read <size> [at <offset>]".
void runOperation(const QString& operation, const QString& name) {
    if (operation == u"open")
        openFile(name, Access::ReadOnly);
    else if (operation == u"create")
        createFile(name);
    else if (operation == u"openOrCreate")
        openOrCreateFile(name);
    else if (operation == u"text")
        TextReader().open(name);
    else if (operation == u"picture")
        readPictureFile(name);
    else if (operation == u"records")
        scoring::recordCount(name);
    else if (operation.startsWith(u"read ")) {
        const QStringList words = operation.split(u' ');
        const FileHandle file = openFile(name, Access::ReadOnly);
        readExactly(file, words.size() > 3 ? words[3].toInt() : 0, words[1].toInt(), name);
    } else
        QFAIL(qPrintable(operation));
}

} // namespace

class TestCorePlatform : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void errorTexts_data();
    void errorTexts();
    void readOnlyFile();
    void specialFiles_data();
    void specialFiles();
    void noWritingThroughLinks_data();
    void noWritingThroughLinks();
    void anyLetterCase_data();
    void anyLetterCase();
    void dayCounts_data();
    void dayCounts();
    void resultFileNames_data();
    void resultFileNames();
    void resultFileNamesOfEveryLocale();
    void textLines_data();
    void textLines();
    void codePageDecodesEveryByteAsTheCodec();
};

void TestCorePlatform::errorTexts_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    const QString missingFile = QStringLiteral("Data\\missing.kdt");
    const QString missingFolder = QStringLiteral("Nowhere\\Key.kdt");
    QTest::newRow("open, missing file") << "open" << missingFile << "File not found";
    QTest::newRow("open, missing folder") << "open" << missingFolder << "Invalid filename";
    QTest::newRow("create, missing folder") << "create" << missingFolder << "Invalid filename";
    QTest::newRow("open or create, missing folder")
        << "openOrCreate" << missingFolder << "Invalid filename";
    QTest::newRow("text, missing file") << "text" << missingFile << "File not found";
    QTest::newRow("text, missing folder") << "text" << missingFolder << "Invalid filename";
    QTest::newRow("short read") << "read 11" << QStringLiteral("Data\\Ten.bin")
                                << "Read beyond end of file";
    QTest::newRow("whole read") << "read 10" << QStringLiteral("Data\\Ten.bin") << "";
    QTest::newRow("read past the end")
        << "read 1 at 10" << QStringLiteral("Data\\Ten.bin") << "Read beyond end of file";
    QTest::newRow("folder opened as a file")
        << "open" << QStringLiteral("Data") << "File access denied";
    QTest::newRow("folder opened as a file to write")
        << "openOrCreate" << QStringLiteral("Data") << "File access denied";
}

void TestCorePlatform::errorTexts() {
    QFETCH(QString, operation);
    QFETCH(QString, name);
    QFETCH(QString, error);
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/Ten.bin"), QByteArray(10, 'x'));
    QCOMPARE(errorOf([&] { runOperation(operation, name); }), error);
}

void TestCorePlatform::readOnlyFile() {
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/Key.kdt"), QByteArray(315, '1'));
    QFile::setPermissions(QStringLiteral("Data/Key.kdt"), QFile::ReadOwner | QFile::ReadOther);
    QCOMPARE(errorAsUnprivileged(QStringLiteral("openToWrite"), QStringLiteral("Data\\Key.kdt")),
             QStringLiteral("File access denied"));
    QCOMPARE(errorAsUnprivileged(QStringLiteral("openToRead"), QStringLiteral("Data\\Key.kdt")),
             QString());
}

// A FIFO chosen as a result file, or standing where a data file should be, is refused at once
// as unreadable: nothing waits for someone to write into it.
void TestCorePlatform::specialFiles_data() {
    QTest::addColumn<QString>("operation");
    QTest::newRow("open") << "open";
    QTest::newRow("open or create") << "openOrCreate";
    QTest::newRow("text") << "text";
    QTest::newRow("picture") << "picture";
    QTest::newRow("records of a result file") << "records";
}

void TestCorePlatform::specialFiles() {
    QFETCH(QString, operation);
    testing::TempWorkDir dir;
    dir.makeFolder(QStringLiteral("Data"));
    QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {QStringLiteral("Data/x.res")}), 0);
    const QString name = QStringLiteral("Data\\x.res");
    const QString error = errorWithoutBlocking(dir.filePath(QStringLiteral("Data/x.res")),
                                               [&] { runOperation(operation, name); });
    QCOMPARE(error, QStringLiteral("File access denied"));
}

// Nothing is written where a symbolic link points: a new file needs a name nothing has, not
// even a link pointing nowhere; a whole file replaces a file but refuses a link.
void TestCorePlatform::noWritingThroughLinks_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("present"); // what has the name already
    QTest::addColumn<int>("refusal");     // the system's number of the refusal, 0: written
    QTest::newRow("new file, link to a file") << "new"
                                              << "link" << EEXIST;
    QTest::newRow("new file, link pointing nowhere") << "new"
                                                     << "dangling link" << EEXIST;
    QTest::newRow("new file, file") << "new"
                                    << "file" << EEXIST;
    QTest::newRow("new file, nothing") << "new"
                                       << "" << 0;
    QTest::newRow("whole file, link to a file") << "whole"
                                                << "link" << ELOOP;
    QTest::newRow("whole file, link pointing nowhere") << "whole"
                                                       << "dangling link" << ELOOP;
    QTest::newRow("whole file, file") << "whole"
                                      << "file" << 0;
}

void TestCorePlatform::noWritingThroughLinks() {
    QFETCH(QString, operation);
    QFETCH(QString, present);
    QFETCH(int, refusal);
    testing::TempWorkDir dir;
    dir.makeFolder(QStringLiteral("saved_img"));
    dir.writeFile(QStringLiteral("elsewhere/kept.txt"), "kept");
    const QString path = dir.filePath(QStringLiteral("saved_img/SR_1.txt"));
    if (present == u"link")
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere/kept.txt")), path));
    else if (present == u"dangling link")
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere/made.txt")), path));
    else if (present == u"file")
        dir.writeFile(QStringLiteral("saved_img/SR_1.txt"), "old");

    const QString name = QStringLiteral("saved_img\\SR_1.txt");
    const QString error = errorOf([&] {
        if (operation == u"new")
            saveNewFile(name, "new");
        else
            saveWholeFile(name, "new");
    });
    QCOMPARE(error, refusal == 0
                        ? QString()
                        : cannotCreateText(QDir::toNativeSeparators(path), systemReason(refusal)));
    QCOMPARE(dir.readFile(QStringLiteral("elsewhere/kept.txt")), QByteArray("kept"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("elsewhere/made.txt"))));
    QCOMPARE(QFileInfo(path).isSymLink(), present.endsWith(u"link"));
    if (!present.endsWith(u"link"))
        QCOMPARE(dir.readFile(QStringLiteral("saved_img/SR_1.txt")),
                 QByteArray(refusal == 0 ? "new" : "old"));
}

// Names written "Data\..." find the one data folder whatever the letter case on disk; a part
// that matches nothing is kept as written.
void TestCorePlatform::anyLetterCase_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("as the program writes it") << "Data\\Key.kdt"
                                              << "data/key.KDT";
    QTest::newRow("upper case") << "DATA\\KEY.KDT"
                                << "data/key.KDT";
    QTest::newRow("exact") << "data\\key.KDT"
                           << "data/key.KDT";
    QTest::newRow("new file in the folder") << "Data\\new.res"
                                            << "data/new.res";
    QTest::newRow("missing folder") << "Nowhere\\Key.kdt"
                                    << "Nowhere/Key.kdt";
    // A full path is looked up from the root; its backslashes belong to its names.
    QTest::newRow("full path in upper case") << "<DIR>/DATA/KEY.KDT"
                                             << "<dir>/data/key.KDT";
    QTest::newRow("full path, backslash in the name") << "<dir>/data/a\\b.kdt"
                                                      << "<dir>/data/a\\b.kdt";
    QTest::newRow("full path, backslash, other case") << "<DIR>/Data/A\\B.KDT"
                                                      << "<dir>/data/a\\b.kdt";
}

void TestCorePlatform::anyLetterCase() {
    QFETCH(QString, name);
    QFETCH(QString, path);
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("data/key.KDT"), QByteArray("0123456789"));
    dir.writeFile(QStringLiteral("data/a\\b.kdt"), QByteArray("0123456789"));
    name.replace(QStringLiteral("<DIR>"), dir.path().toUpper())
        .replace(QStringLiteral("<dir>"), dir.path());
    path.replace(QStringLiteral("<dir>"), dir.path());
    QCOMPARE(resolvePath(name), path);
    if (QFileInfo::exists(path)) {
        const FileHandle file = openFile(name, Access::ReadOnly);
        QCOMPARE(readExactly(file, 0, 10, name), QByteArray("0123456789"));
    }
}

void TestCorePlatform::dayCounts_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("days");
    QTest::newRow("25 March 2007") << QDate(2007, 3, 25) << 39166.0;
    QTest::newRow("the epoch") << QDate(1899, 12, 30) << 0.0;
    QTest::newRow("1 January 1900") << QDate(1900, 1, 1) << 2.0;
    QTest::newRow("1 March 1900") << QDate(1900, 3, 1) << 61.0;
    QTest::newRow("1 January 1800") << QDate(1800, 1, 1) << -36522.0;
    QTest::newRow("1 January 0001") << QDate(1, 1, 1) << -693593.0;
    QTest::newRow("31 December 9999") << QDate(9999, 12, 31) << 2958465.0;
}

void TestCorePlatform::dayCounts() {
    QFETCH(QDate, date);
    QFETCH(double, days);
    QCOMPARE(dayCount(date), days);
    QCOMPARE(dateFromDayCount(days), std::optional<QDate>(date));
    if (days >= 0) // a time of day on that date still means the date
        QCOMPARE(dateFromDayCount(days + 0.5), std::optional<QDate>(date));
}

void TestCorePlatform::resultFileNames_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("name");
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia)
                             << "result\\25.03.2007.res";
    QTest::newRow("C: Russian format") << QLocale::c() << "result\\25.03.2007.res";
    QTest::newRow("US: slashes as dots")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "result\\3.25.07.res";
}

// A save goes into the day's file whatever the date format.
void TestCorePlatform::resultFileNames() {
    QFETCH(QLocale, locale);
    QFETCH(QString, name);
    QLocale::setDefault(locale);
    QCOMPARE(scoring::resultFileName(QDate(2007, 3, 25)), name);
    testing::TempWorkDir dir;
    dir.makeFolder(QStringLiteral("result"));
    scoring::appendRecord(name, scoring::ResultRecord{});
    QCOMPARE(scoring::recordCount(name), qint64(1));
}

// Under every locale the day's file can be created; a date a file name can hold is kept.
void TestCorePlatform::resultFileNamesOfEveryLocale() {
    const QDate day(2007, 3, 25);
    const QRegularExpression notInNames(QStringLiteral("[/\\\\:*?\"<>|]"));
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        QLocale::setDefault(locale);
        const QString date = formatShortDate(day);
        const QString name = scoring::resultFileName(day);
        QVERIFY2(name.startsWith(QStringLiteral("result\\")) && name.endsWith(u".res"),
                 qPrintable(name));
        const QString file = name.mid(7, name.size() - 11);
        QVERIFY2(!file.contains(notInNames), qPrintable(locale.name() + u' ' + name));
        if (!date.contains(notInNames))
            QCOMPARE(file, date);
    }
}

void TestCorePlatform::textLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QByteArray longLine(300, 'w');
    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QStringList{"one", "two"};
    QTest::newRow("LF only") << QByteArray("one\ntwo") << QStringList{"one", "two"};
    QTest::newRow("bare CR dropped") << QByteArray("a\rb\r\nc") << QStringList{"ab", "c"};
    QTest::newRow("0x1A ends the text") << QByteArray("ab\x1A"
                                                      "cd\nnext")
                                        << QStringList{"ab", "next"};
    QTest::newRow("300 characters")
        << longLine + "\r\nx" << QStringList{QString::fromLatin1(longLine), "x"};
    QTest::newRow("spaces kept") << QByteArray("   x  \r\n\tb") << QStringList{"   x  ", "\tb"};
    QTest::newRow("empty lines") << QByteArray("\r\n\n\r\nz") << QStringList{"", "", "", "z"};
    QTest::newRow("code page 1251") << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2, \xB8\xE6")
                                    << QStringList{QStringLiteral("Привет, ёж")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

// After the file's lines, every further line is an empty text.
void TestCorePlatform::textLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/data.kdt"), bytes);
    TextReader reader;
    reader.open(QStringLiteral("Data\\data.kdt"));
    for (const QString& line : lines)
        QCOMPARE(reader.readLine(), line);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(reader.readLine(), QString());
}

// Every byte, alone and in one text, reads as the windows-1251 codec reads it.
void TestCorePlatform::codePageDecodesEveryByteAsTheCodec() {
    QByteArray all(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        all[byte] = char(byte);
    QStringDecoder codec("windows-1251");
    QCOMPARE(platform::fromCp1251(all), codec.decode(all));
    QCOMPARE(platform::fromCp1251(QByteArray("\xcf\xe5\xf2\xf0\xee\xe2")),
             QStringLiteral("Петров"));
    QCOMPARE(platform::fromCp1251(QByteArray()), QString());
}

int main(int argc, char** argv) {
    if (const auto exitCode = testing::runChildStep(argc, argv, kChildSteps))
        return *exitCode;
    QCoreApplication application(argc, argv);
    TestCorePlatform test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_core_platform.moc"
