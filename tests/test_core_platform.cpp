// The file layer's error texts, path lookup in any letter case, dates and the text reader.

#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "scoring/result_file.h"
#include "tests/support/core_support.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

using namespace platform;
using testing::errorAsUnprivileged;
using testing::errorOf;

class TestCorePlatform : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void errorTexts_data();
    void errorTexts();
    void readOnlyFile();
    void anyLetterCase_data();
    void anyLetterCase();
    void dayCounts_data();
    void dayCounts();
    void resultFileNames_data();
    void resultFileNames();
    void textLines_data();
    void textLines();
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
    const QString text = errorOf([&] {
        if (operation == u"open")
            openFile(name, Access::ReadOnly);
        else if (operation == u"create")
            createFile(name);
        else if (operation == u"openOrCreate")
            openOrCreateFile(name);
        else if (operation == u"text")
            TextReader().open(name);
        else if (operation.startsWith(u"read ")) { // "read <size> [at <offset>]"
            const QStringList words = operation.split(u' ');
            const FileHandle file = openFile(name, Access::ReadOnly);
            readExactly(file, words.size() > 3 ? words[3].toInt() : 0, words[1].toInt(), name);
        }
    });
    QCOMPARE(text, error);
}

void TestCorePlatform::readOnlyFile() {
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/Key.kdt"), QByteArray(315, '1'));
    QFile::setPermissions(QStringLiteral("Data/Key.kdt"), QFile::ReadOwner | QFile::ReadOther);
    QCOMPARE(
        errorAsUnprivileged([] { openFile(QStringLiteral("Data\\Key.kdt"), Access::ReadWrite); }),
        QStringLiteral("File access denied"));
    QCOMPARE(
        errorAsUnprivileged([] { openFile(QStringLiteral("Data\\Key.kdt"), Access::ReadOnly); }),
        QString());
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
}

void TestCorePlatform::anyLetterCase() {
    QFETCH(QString, name);
    QFETCH(QString, path);
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("data/key.KDT"), QByteArray("0123456789"));
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
    QTest::newRow("US: slashes") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << "result\\3/25/07.res";
}

void TestCorePlatform::resultFileNames() {
    QFETCH(QLocale, locale);
    QFETCH(QString, name);
    QLocale::setDefault(locale);
    QCOMPARE(scoring::resultFileName(QDate(2007, 3, 25)), name);
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

QTEST_GUILESS_MAIN(TestCorePlatform)
#include "test_core_platform.moc"
