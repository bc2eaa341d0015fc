// dorvel-export's class summary: the statistics table with both separators, the record
// filters on it and on the record table, the class report's text with and without names.

#include "tests/support/class_records.h"
#include "tests/support/core_support.h"
#include "tests/support/tool_run.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString kFile = QStringLiteral("class.res");
// The two records with a damaged B, named on standard error whatever the filter.
const QString kDamagedNotes = QStringLiteral("dorvel-export: class.res: запись 1: повреждена\n"
                                             "dorvel-export: class.res: запись 3: повреждена\n");

// The statistics of the class of tests/support/class_records.h, worked out by hand: MD, A, B
// and C as given, the 13 other scales all 5. `separator` ';' with decimal commas.
QByteArray expectedStats(const QStringList& firstLines, char separator) {
    QStringList lines = {QStringLiteral("scale;n;mean;sd;median;min;max;low;average;high")};
    lines += firstLines;
    for (qsizetype k = lines.size() - 1; k < scoring::kScales; ++k)
        lines << QStringLiteral("%1;4;5,00;0,00;5,00;5;5;0;4;0")
                     .arg(QLatin1String(scoring::kScaleCodes[std::size_t(k)]));
    QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (separator == ',')
        text.replace(u',', u'.').replace(u';', u',');
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString pdfText(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000))
        return {};
    return QString::fromUtf8(text.readAllStandardOutput()).simplified();
}

} // namespace

class TestExportStats : public QObject {
    Q_OBJECT

private slots:
    void stats_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        const QStringList all = {
            QStringLiteral("MD;4;6,25;2,75;6,50;3;9;1;1;2"),
            QStringLiteral("A;4;5,25;4,43;5,00;1;10;2;0;2"),
            QStringLiteral("B;2;6,00;1,41;6,00;5;7;0;2;0"),
            QStringLiteral("C;4;4,00;0,00;4,00;4;4;0;4;0"),
        };
        QTest::newRow("semicolon, decimal comma") << QStringList{} << expectedStats(all, ';');
        QTest::newRow("comma, decimal point")
            << QStringList{"--separator", ","} << expectedStats(all, ',');
        // Orlova alone: one record, B damaged.
        QByteArray one = expectedStats({QStringLiteral("MD;1;8,00;;8,00;8;8;0;0;1"),
                                        QStringLiteral("A;1;1,00;;1,00;1;1;1;0;0"),
                                        QStringLiteral("B;0;;;;;;0;0;0"),
                                        QStringLiteral("C;1;4,00;;4,00;4;4;0;1;0")},
                                       ';');
        one.replace("4;5,00;0,00;5,00;5;5;0;4;0", "1;5,00;;5,00;5;5;0;1;0");
        QTest::newRow("one record by group") << QStringList{"--group", "9б"} << one;
        QTest::newRow("one record by course and date")
            << QStringList{"--course", "2", "--from", "2026-09-15", "--to", "2026-10-01"} << one;
    }

    void stats() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        const testing::ToolRun toFile = testing::runExportTool(
            QStringList{"--stats", "-o", "stats.csv"} + arguments + QStringList{kFile});
        QCOMPARE(toFile.errors, kDamagedNotes);
        QCOMPARE(toFile.exitCode, 0);
        QCOMPARE(dir.readFile(QStringLiteral("stats.csv")), expected);
        const testing::ToolRun toOutput =
            testing::runExportTool(QStringList{"--stats"} + arguments + QStringList{kFile});
        QCOMPARE(toOutput.out, expected);
    }

    // The workbook holds the same figures as numbers: MD's row, and B's with its damaged stens.
    void statsWorkbook() {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        QCOMPARE(testing::runExportTool({"--stats", "-o", "stats.xlsx", kFile}).exitCode, 0);
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), dir.filePath("stats.xlsx"),
                                              QStringLiteral("xl/worksheets/sheet1.xml")});
        QVERIFY(unzip.waitForFinished(60000));
        const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
        auto numbers = [&sheet](int row) {
            const QRegularExpression cells(QStringLiteral("<row r=\"%1\">(.*?)</row>").arg(row));
            const QRegularExpression value(QStringLiteral("<v>([^<]*)</v>"));
            QStringList values;
            for (const QRegularExpressionMatch& match :
                 value.globalMatch(cells.match(sheet).captured(1)))
                values << match.captured(1);
            return values.join(u' ');
        };
        QCOMPARE(numbers(2), QStringLiteral("4 6.25 2.75 6.50 3 9 1 1 2"));
        QCOMPARE(numbers(4), QStringLiteral("2 6.00 1.41 6.00 5 7 0 2 0"));
    }

    // The record table takes the same filters; its records keep their numbers in the file.
    void filteredTable_data() {
        QTest::addColumn<QStringList>("filter");
        QTest::addColumn<QStringList>("rows"); // record number and surname
        QTest::newRow("group") << QStringList{"--group", "9А"}
                               << QStringList{"0;Иванов", "1;Петрова", "2;Сидоров"};
        QTest::newRow("dates") << QStringList{"--from", "2026-09-02", "--to", "2026-09-02"}
                               << QStringList{"1;Петрова"};
        QTest::newRow("course") << QStringList{"--course", "2"} << QStringList{"3;Орлова"};
    }

    void filteredTable() {
        QFETCH(QStringList, filter);
        QFETCH(QStringList, rows);
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        const testing::ToolRun run = testing::runExportTool(filter + QStringList{kFile});
        QCOMPARE(run.exitCode, 0);
        QStringList got = QString::fromUtf8(run.out).split(QStringLiteral("\r\n"));
        got = got.mid(1, got.size() - 2); // without the header and after the last line end
        for (QString& row : got)
            row = row.section(u';', 1, 1) + u';' + row.section(u';', 3, 3);
        QCOMPARE(got, rows);
    }

    // Nothing left after filtering: exit code 1, the filter named, no output made.
    void nothingLeft_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("stats") << QStringList{"--stats", "--group", "9В", "-o", "out.csv"}
                               << QStringLiteral("--group «9В»");
        QTest::newRow("table") << QStringList{"--from", "2027-01-01", "-o", "out.csv"}
                               << QStringLiteral("--from «2027-01-01»");
        QTest::newRow("report") << QStringList{"--group-report", "--course", "1",      "--to",
                                               "2020-01-01",     "-o",       "out.pdf"}
                                << QStringLiteral("--course «1» --to «2020-01-01»");
    }

    void nothingLeft() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        const testing::ToolRun run = testing::runExportTool(arguments + QStringList{kFile});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(named), qPrintable(run.errors));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{kFile});
    }

    void wrongCommandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("date not ISO") << QStringList{"--stats", "--from", "01.09.2026"};
        QTest::newRow("from after to")
            << QStringList{"--stats", "--from", "2026-09-02", "--to", "2026-09-01"};
        QTest::newRow("anonymous without report") << QStringList{"--stats", "--anonymous"};
        QTest::newRow("report without file") << QStringList{"--group-report"};
        QTest::newRow("two modes") << QStringList{"--stats", "--group-report", "-o", "a.pdf"};
        QTest::newRow("stats as SAV") << QStringList{"--stats", "-o", "a.sav"};
    }

    void wrongCommandLines() {
        QFETCH(QStringList, arguments);
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        QCOMPARE(testing::runExportTool(arguments + QStringList{kFile}).exitCode, 2);
    }

    // The report's text as a reader of the PDF finds it, with names and without.
    void groupReport_data() {
        QTest::addColumn<bool>("anonymous");
        QTest::newRow("with names") << false;
        QTest::newRow("anonymous") << true;
    }

    void groupReport() {
        QFETCH(bool, anonymous);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        testing::TempWorkDir dir;
        QVERIFY(testing::writeClassFile(dir.filePath(kFile)));
        QStringList arguments = {"--group-report", "--group", "9А", "-o", "class.pdf", kFile};
        if (anonymous)
            arguments.prepend(QStringLiteral("--anonymous"));
        const testing::ToolRun run = testing::runExportTool(arguments);
        QCOMPARE(run.errors, kDamagedNotes);
        QCOMPARE(run.exitCode, 0);
        const QString text = pdfText(dir.filePath(QStringLiteral("class.pdf")));
        QVERIFY2(text.contains(QStringLiteral("Группа: 9А")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Число учащихся: 3")));
        QVERIFY(text.contains(QStringLiteral("01.09.2026 – 03.09.2026")));
        QVERIFY(text.contains(QStringLiteral(
            "ответы могли быть даны в желательном свете — результаты трактовать осторожно")));
        // MD's row of the statistics table: n, mean, SD, median, min, max, the three counts.
        QVERIFY(text.contains(QStringLiteral("3 5,67 3,06 5,00 3 9 1 1 1")));
        for (const QString& name :
             {QStringLiteral("Иванов"), QStringLiteral("Петрова"), QStringLiteral("Сидоров")})
            QCOMPARE(text.contains(name), !anonymous);
        QVERIFY(!text.contains(QStringLiteral("Орлова"))); // filtered out
        if (!anonymous) {
            // The high A band holds Petrova and Sidorov, the low one Ivanov; MD 8–10 Ivanov.
            QVERIFY(text.contains(QStringLiteral("низкие (1–3): Иванов Пётр высокие (8–10): "
                                                 "Петрова Анна, Сидоров Иван")));
        }
    }
};

QTEST_GUILESS_MAIN(TestExportStats)
#include "test_export_stats.moc"
