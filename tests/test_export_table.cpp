// dorvel-export: the table of result records, the tool's exit codes, the PDF report's text.

#include "export/table_export.h"
#include "scoring/result_file.h"
#include "tests/support/core_support.h"
#include "tests/support/record_builder.h"
#include "tests/support/tool_run.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <cstring>
#include <limits>

using scoring::ResultRecord;

namespace {

const QString kFile = QStringLiteral("09.12.2026.res");

ResultRecord record(const QString& surname, const QString& group, quint8 manualEntry) {
    return testing::Record()
        .surname(surname)
        .firstName(QStringLiteral("Пётр"))
        .group(group)
        .stens({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 9, 8, 7, 6, 5, 4})
        .dayCount(46365.0) // 9 December 2026
        .manualEntry(manualEntry);
}

// A normal record, a quote and a semicolon in the surname (and a comma in the group), a tab in
// the surname, a surname that starts like a formula, a damaged record (length byte over its field,
// NaN date, an unknown entry byte) and a partial record at the end.
QByteArray sampleFile() {
    QByteArray damaged = scoring::encodeRecord(
        record(QStringLiteral("Абвгдежзийклмнопрсту"), QStringLiteral("7"), 0));
    damaged[0] = char(0xFF);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(damaged.data() + 72, &nan, sizeof nan);
    damaged[80] = char(7);
    return scoring::encodeRecord(record(QStringLiteral("Иванов"), QStringLiteral("ПС-21"), 0)) +
           scoring::encodeRecord(record(QStringLiteral("О\"Нил;Мак"), QStringLiteral("1,2"), 1)) +
           scoring::encodeRecord(record(QStringLiteral("Иванов\tмл."), QStringLiteral("3"), 0)) +
           scoring::encodeRecord(record(QStringLiteral("=СУММ(A1)"), QStringLiteral("3"), 0)) +
           damaged + QByteArray(40, 'x');
}

} // namespace

class TestExportTable : public QObject {
    Q_OBJECT

private slots:
    void table_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("rows");
        const QString stens = QStringLiteral(";1;2;3;4;5;6;7;8;9;10;10;9;8;7;6;5;4");
        QStringList rows = {
            "09.12.2026.res;0;2026-12-09;Иванов;Пётр;2;ПС-21;test" + stens,
            "09.12.2026.res;1;2026-12-09;\"О\"\"Нил;Мак\";Пётр;2;\"1,2\";manual" + stens,
            "09.12.2026.res;2;2026-12-09;\"Иванов\tмл.\";Пётр;2;3;test" + stens,
            "09.12.2026.res;3;2026-12-09;'=СУММ(A1);Пётр;2;3;test" + stens,
            "09.12.2026.res;4;;Абвгдежзийклмнопрсту;Пётр;2;7;" + stens,
        };
        QTest::newRow("semicolon") << QStringLiteral(";") << rows;
        for (QString& row : rows) {
            row.replace(u';', u',');
            row.replace(QStringLiteral("О\"\"Нил,Мак"), QStringLiteral("О\"\"Нил;Мак"));
        }
        QTest::newRow("comma") << QStringLiteral(",") << rows;
    }
    void table() {
        QFETCH(QString, separator);
        QFETCH(QStringList, rows);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("result/") + kFile, sampleFile());
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        const auto failures = exporting::writeTable(out, {QStringLiteral("result/") + kFile},
                                                    char(separator.front().unicode()));
        QVERIFY(failures.isEmpty());

        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        const QStringList lines =
            QString::fromUtf8(bytes.mid(3).chopped(2)).split(QStringLiteral("\r\n"));
        QString header = QStringLiteral("file;record;date;surname;first_name;course;group;mode;"
                                        "MD;A;B;C;E;F;G;H;I;L;M;N;O;Q1;Q2;Q3;Q4");
        header.replace(u';', separator.front());
        QCOMPARE(lines.value(0), header);
        QCOMPARE(lines.mid(1), rows);
    }

    // Many more rows than the writer holds at once: every row whole, in order.
    void longTable() {
        constexpr int kRecords = 30000;
        testing::TempWorkDir dir;
        QByteArray file;
        for (int n = 0; n < kRecords; ++n)
            file += scoring::encodeRecord(
                record(QStringLiteral("Ф\"%1").arg(n), QStringLiteral("Г"), 0));
        dir.writeFile(kFile, file);
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        QVERIFY(exporting::writeTable(out, {kFile}).isEmpty());
        const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), kRecords + 2); // the header, the rows, nothing after the last
        for (int n = 0; n < kRecords; ++n) {
            const QString start =
                QStringLiteral("09.12.2026.res;%1;2026-12-09;\"Ф\"\"%1\";").arg(n);
            QVERIFY2(lines[n + 1].startsWith(start) && lines[n + 1].endsWith(u";5;4"),
                     qPrintable(lines[n + 1]));
        }
    }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrHas");
        QTest::addColumn<int>("csvRows"); // rows of out.csv after the header; -1: none made

        const QString good = QStringLiteral("result/") + kFile;
        QTest::newRow("table") << QStringList{"-o", "out.csv", good} << 0 << QString() << 5;
        QTest::newRow("missing file") << QStringList{"-o", "out.csv", "missing.res", good} << 1
                                      << "missing.res: File not found" << 5;
        QTest::newRow("folder as file") << QStringList{"-o", "out.csv", "result", good} << 1
                                        << "result: File access denied" << 5;
        QTest::newRow("no file") << QStringList{"-o", "out.csv"} << 2 << "файл" << -1;
        QTest::newRow("unknown option") << QStringList{"--tab", good} << 2 << "--tab" << -1;
        QTest::newRow("bad separator")
            << QStringList{"--separator", "x", good} << 2 << "разделитель" << -1;
        QTest::newRow("pdf without folder") << QStringList{"--pdf", good} << 2 << "-o" << -1;
        QTest::newRow("record without pdf")
            << QStringList{"--record", "0", good} << 2 << "--record" << -1;
        QTest::newRow("record beyond the file")
            << QStringList{"--pdf", "--record", "5", "-o", "pdf", good} << 1
            << "Read beyond end of file" << -1;
        // 2^61 records of 88 bytes would wrap around to the offset of record 0.
        QTest::newRow("record far beyond the file")
            << QStringList{"--pdf", "--record", "2305843009213693952", "-o", "pdf", good} << 1
            << "Read beyond end of file" << -1;
        QTest::newRow("help") << QStringList{"--help"} << 0 << QString() << -1;
    }
    void exitCodes() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrHas);
        QFETCH(int, csvRows);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("result/") + kFile, sampleFile());

        const testing::ToolRun run = testing::runExportTool(arguments);
        QCOMPARE(run.exitCode, exitCode);
        // Besides what the row expects, only the damaged record and the partial tail are named.
        QString errors = run.errors;
        if (exitCode != 2 && !arguments.contains(u"--help")) {
            for (const QString note : {": запись 4: повреждена\n",
                                       ": запись 5: неполная (40 байт из 88), не выгружена\n"}) {
                const QString line = QStringLiteral("dorvel-export: result/") + kFile + note;
                QCOMPARE(errors.count(line), arguments.contains(u"--record") ? 0 : 1);
                errors.remove(line);
            }
        }
        if (stderrHas.isEmpty())
            QCOMPARE(errors, QString());
        else
            QVERIFY2(errors.contains(stderrHas), qPrintable(run.errors));
        // A report that could not be written leaves no folder behind.
        if (arguments.contains(u"--pdf"))
            QCOMPARE(QFileInfo::exists(QStringLiteral("pdf")), exitCode == 0);
        const QByteArray csv = dir.readFile(QStringLiteral("out.csv"));
        if (csvRows < 0)
            QVERIFY(csv.isEmpty());
        else
            QCOMPARE(csv.count("\r\n"), csvRows + 1);
        if (arguments == QStringList{"--help"})
            QVERIFY(QString::fromUtf8(run.out).contains(QStringLiteral("апостроф")));
    }

    void tableToStandardOutput() {
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("result/") + kFile, sampleFile());
        const testing::ToolRun run = testing::runExportTool({QStringLiteral("result/") + kFile});
        QCOMPARE(run.exitCode, 0);
        QByteArray expected;
        QBuffer out(&expected);
        out.open(QIODevice::WriteOnly);
        exporting::writeTable(out, {QStringLiteral("result/") + kFile});
        QCOMPARE(run.out, expected);
    }

    // The report's text, as a reader of the PDF finds it: the subject and the 17 stens.
    void pdfReport() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("result/") + kFile, sampleFile());
        const testing::ToolRun run = testing::runExportTool(
            {"--pdf", "--record", "1", "-o", "reports", QStringLiteral("result/") + kFile});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errors, QString());
        const QString pdf = dir.filePath(QStringLiteral("reports/09.12.2026_1.pdf"));
        QVERIFY(QFile::exists(pdf));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("reports/09.12.2026_0.pdf"))));

        QProcess text;
        text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(page.contains(QStringLiteral("О\"Нил;Мак")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("09.12.2026")));
        const ResultRecord subject = record(QString(), QString(), 1);
        for (int k = 0; k < scoring::kScales; ++k) {
            // The scale's row of the table: its code first, its sten last.
            const QRegularExpression row(
                QStringLiteral("^\\s*%1\\s+Фактор.*\\s%2\\s*$")
                    .arg(QLatin1String(scoring::kScaleCodes[std::size_t(k)]))
                    .arg(subject.scales[std::size_t(k)]),
                QRegularExpression::MultilineOption);
            QVERIFY2(row.match(page).hasMatch(), scoring::kScaleCodes[std::size_t(k)]);
        }
    }
};

QTEST_GUILESS_MAIN(TestExportTable)
#include "test_export_table.moc"
