// The table of result records as an Excel workbook and an SPSS data file, read back: the XLSX
// unzipped and its sheets' XML read, the SAV through ReadStat's parser; the tool's choice of
// format and its refusals.

#include "export/pdf_report.h"
#include "export/table_formats.h"
#include "graphics/texts.h"
#include "scoring/explanations.h"
#include "scoring/result_file.h"
#include "tests/support/core_support.h"
#include "tests/support/record_builder.h"
#include "tests/support/tool_run.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <readstat.h>

using scoring::ResultRecord;

namespace {

const QString kFile = QStringLiteral("result/09.12.2026.res");

ResultRecord record(const QString& surname, const QString& course, quint8 manualEntry) {
    return testing::Record()
        .surname(surname)
        .course(course)
        .group(QStringLiteral("ПС-21"))
        .stens({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 9, 8, 7, 6, 5, 4})
        .dayCount(46365.0) // 9 December 2026
        .manualEntry(manualEntry);
}

// A test record, a typed-in one (with a first name that reads like an XLSX escape), a damaged one
// (length byte over its field, NaN date, an unknown entry byte) and a partial record at the end.
QByteArray sampleFile() {
    QByteArray damaged =
        scoring::encodeRecord(record(QStringLiteral("Абвгдежзийклмнопрсту"), "3", 0));
    damaged[0] = char(0xFF);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(damaged.data() + 72, &nan, sizeof nan);
    damaged[80] = char(7);
    ResultRecord typedIn = record(QStringLiteral("=Петрова"), "02", 1);
    typedIn.firstName = QStringLiteral("_x0041_");
    return scoring::encodeRecord(record(QStringLiteral("Иванов"), "2", 0)) +
           scoring::encodeRecord(typedIn) + damaged + QByteArray(40, 'x');
}

scoring::Explanations builtInTexts() {
    return graphics::explanations();
}

// ---- XLSX: one member of the zip, and the cells of a sheet --------------------------------

QByteArray unzipMember(const QString& zip, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

struct Cell {
    QString type;  // t: "inlineStr", "s", "n" or empty (a number)
    QString style; // s
    QString value; // the text or the number as written
};

// Cells by reference ("C2"); a sheet's pane state under "pane". A cell without its reference
// is the one after the cell before it in its row, as a spreadsheet reads it.
QMap<QString, Cell> sheetCells(const QByteArray& xml) {
    QMap<QString, Cell> cells;
    QXmlStreamReader reader(xml);
    QString ref, row;
    int column = -1;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto attributes = reader.attributes();
        if (reader.name() == u"pane") {
            cells[QStringLiteral("pane")] = {attributes.value(QLatin1String("state")).toString(),
                                             {},
                                             attributes.value(QLatin1String("ySplit")).toString()};
        } else if (reader.name() == u"row") {
            row = attributes.value(QLatin1String("r")).toString();
            column = -1;
        } else if (reader.name() == u"c") {
            const QString given = attributes.value(QLatin1String("r")).toString();
            column = given.isEmpty() ? column + 1 : given.front().unicode() - u'A';
            ref = QChar(u'A' + column) + row;
            cells[ref] = {attributes.value(QLatin1String("t")).toString(),
                          attributes.value(QLatin1String("s")).toString(),
                          {}};
        } else if (reader.name() == u"v" || reader.name() == u"t") {
            cells[ref].value += reader.readElementText();
        }
    }
    return cells;
}

QString columnLetters(int column) { // 0 -> A, 25 -> Z (the table has 25 columns)
    return QString(QChar(u'A' + column));
}

// ---- SAV: what ReadStat's parser hands over ------------------------------------------------

struct SavVariable {
    QString name, label, format, labelSet;
    readstat_measure_t measure = READSTAT_MEASURE_UNKNOWN;
    int displayWidth = 0;
};

struct SavFile {
    QString encoding;
    int rows = -1;
    QList<SavVariable> variables;
    QList<QList<QVariant>> values; // by row; a missing value is a null QVariant
    QMap<QString, QMap<double, QString>> valueLabels;
};

int onMetadata(readstat_metadata_t* metadata, void* context) {
    auto* file = static_cast<SavFile*>(context);
    file->encoding = QString::fromUtf8(readstat_get_file_encoding(metadata));
    file->rows = readstat_get_row_count(metadata);
    return READSTAT_HANDLER_OK;
}

int onVariable(int, readstat_variable_t* variable, const char* labelSet, void* context) {
    auto* file = static_cast<SavFile*>(context);
    const char* label = readstat_variable_get_label(variable);
    const char* format = readstat_variable_get_format(variable);
    file->variables.append(
        {QString::fromUtf8(readstat_variable_get_name(variable)),
         QString::fromUtf8(label ? label : ""), QString::fromUtf8(format ? format : ""),
         QString::fromUtf8(labelSet ? labelSet : ""), readstat_variable_get_measure(variable),
         readstat_variable_get_display_width(variable)});
    return READSTAT_HANDLER_OK;
}

int onValue(int row, readstat_variable_t*, readstat_value_t value, void* context) {
    auto* file = static_cast<SavFile*>(context);
    if (file->values.size() <= row)
        file->values.resize(row + 1);
    QVariant cell;
    if (readstat_value_is_system_missing(value))
        cell = QVariant();
    else if (readstat_value_type(value) == READSTAT_TYPE_STRING)
        cell = QString::fromUtf8(readstat_string_value(value));
    else
        cell = readstat_double_value(value);
    file->values[row].append(cell);
    return READSTAT_HANDLER_OK;
}

int onValueLabel(const char* labelSet, readstat_value_t value, const char* label, void* context) {
    auto* file = static_cast<SavFile*>(context);
    file->valueLabels[QString::fromUtf8(labelSet)][readstat_double_value(value)] =
        QString::fromUtf8(label);
    return READSTAT_HANDLER_OK;
}

SavFile readSav(const QString& path, readstat_error_t& error) {
    SavFile file;
    readstat_parser_t* parser = readstat_parser_init();
    readstat_set_metadata_handler(parser, onMetadata);
    readstat_set_variable_handler(parser, onVariable);
    readstat_set_value_handler(parser, onValue);
    readstat_set_value_label_handler(parser, onValueLabel);
    error = readstat_parse_sav(parser, QFile::encodeName(path).constData(), &file);
    readstat_parser_free(parser);
    return file;
}

// ---- Outputs and damaged records ------------------------------------------------------------

// A result file large enough that every output of it outgrows a few kilobytes.
QByteArray largeFile() {
    QByteArray bytes;
    for (int n = 0; n < 3000; ++n)
        bytes += scoring::encodeRecord(record(QStringLiteral("Иванов-%1").arg(n), "2", 0));
    return bytes;
}

// While it lives, a 16 KB file system mounted on `folder` when this process may mount one
// (as root); otherwise nothing, and the caller limits the file size instead.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : m_folder(folder) {
        QDir().mkpath(folder);
        QProcess mount;
        mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=16k", "tmpfs", folder});
        m_mounted = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit &&
                    mount.exitCode() == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

// The tool's arguments that write `format` of `input` into the folder "out": the table
// out/keep.<format>, or the report of record 0, out/<input stem>_0.pdf. `target` gets the path
// of that one output.
QStringList outputArguments(const QString& format, const QString& input, QString& target) {
    if (format == u"pdf") {
        target = QStringLiteral("out/") + exporting::reportFileName(input, 0);
        return {"--pdf", "--record", "0", "-o", "out", input};
    }
    target = QStringLiteral("out/keep.") + format;
    return {"-o", target, input};
}

QString pdfToText(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.waitForFinished(60000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

QByteArray pdfToPng(const QString& pdf) {
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), pdf});
    render.waitForFinished(60000);
    return render.readAllStandardOutput();
}

} // namespace

class TestExportFormats : public QObject {
    Q_OBJECT

private slots:
    void xlsx() {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        testing::TempWorkDir dir;
        dir.writeFile(kFile, sampleFile());
        const QString book = dir.filePath(QStringLiteral("table.xlsx"));
        const scoring::Explanations texts = builtInTexts();
        QVERIFY(exporting::writeXlsx(book, {kFile}, texts).isEmpty());

        const QString workbook = QString::fromUtf8(unzipMember(book, "xl/workbook.xml"));
        const qsizetype results = workbook.indexOf(QStringLiteral("name=\"Результаты\""));
        QVERIFY2(results >= 0 && workbook.indexOf(QStringLiteral("name=\"Шкалы\"")) > results,
                 qPrintable(workbook));

        const QMap<QString, Cell> cells = sheetCells(unzipMember(book, "xl/worksheets/sheet1.xml"));
        const QStringList columns = exporting::tableHeader(';').split(u';');
        QCOMPARE(columns.size(), 25);
        for (int c = 0; c < columns.size(); ++c) {
            const Cell header = cells.value(columnLetters(c) + u'1');
            QCOMPARE(header.value, columns[c]);
            QCOMPARE(header.style, cells.value(QStringLiteral("A1")).style); // all bold
        }
        QCOMPARE(cells.value(QStringLiteral("pane")).type, QStringLiteral("frozen"));
        QCOMPARE(cells.value(QStringLiteral("pane")).value, QStringLiteral("1"));

        // The date: the day number under a dd.mm.yyyy format; none for the damaged record.
        const Cell date = cells.value(QStringLiteral("C2"));
        QCOMPARE(date.type, QString());
        QCOMPARE(date.value, QStringLiteral("46365"));
        const QString styles = QString::fromUtf8(unzipMember(book, "xl/styles.xml"));
        QVERIFY2(styles.contains(QStringLiteral("formatCode=\"dd.mm.yyyy\"")), qPrintable(styles));
        QVERIFY(!date.style.isEmpty() && date.style != cells.value(QStringLiteral("A1")).style);
        QVERIFY(!cells.contains(QStringLiteral("C4")));
        QVERIFY(!cells.contains(QStringLiteral("A5"))); // the partial record is left out

        // Numbers as numbers, stored texts as texts (no apostrophe, the zero kept, an
        // "_xHHHH_" in a text kept by escaping its underscore as _x005F_).
        const QMap<QString, QString> expected = {{"A3", "09.12.2026.res"},
                                                 {"B3", "1"},
                                                 {"D3", "=Петрова"},
                                                 {"E3", "_x005F_x0041_"},
                                                 {"F3", "02"},
                                                 {"H3", "вручную"},
                                                 {"I3", "1"},
                                                 {"Y3", "4"},
                                                 {"B4", "2"},
                                                 {"D4", "Абвгдежзийклмнопрсту"}};
        for (auto at = expected.begin(); at != expected.end(); ++at) {
            const Cell cell = cells.value(at.key());
            QCOMPARE(cell.value, at.value());
            const bool number = at.key().front() == u'B' || at.key().front() >= u'I';
            QCOMPARE(cell.type, number ? QString() : QStringLiteral("inlineStr"));
        }
        QVERIFY(!cells.contains(QStringLiteral("H4"))); // an unknown entry byte

        const QMap<QString, Cell> scales =
            sheetCells(unzipMember(book, "xl/worksheets/sheet2.xml"));
        QCOMPARE(scales.value(QStringLiteral("A3")).value, QStringLiteral("A"));
        QVERIFY(!texts[1].title.isEmpty());
        QCOMPARE(scales.value(QStringLiteral("B3")).value, texts[1].title);
        QCOMPARE(scales.value(QStringLiteral("C18")).value, exporting::polesText(texts[16].poles));
        QCOMPARE(scales.value(QStringLiteral("A18")).value, QStringLiteral("Q4"));
    }

    void sav() {
        testing::TempWorkDir dir;
        dir.writeFile(kFile, sampleFile());
        const QString path = dir.filePath(QStringLiteral("table.sav"));
        const scoring::Explanations texts = builtInTexts();
        QVERIFY(exporting::writeSav(path, {kFile}, texts).isEmpty());

        readstat_error_t error = READSTAT_OK;
        const SavFile file = readSav(path, error);
        QCOMPARE(error, READSTAT_OK);
        QCOMPARE(file.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(file.rows, 3);
        QStringList names;
        for (const SavVariable& variable : file.variables)
            names.append(variable.name);
        QCOMPARE(names, exporting::tableHeader(';').split(u';'));

        const SavVariable& date = file.variables[2];
        QVERIFY2(date.format.startsWith(QStringLiteral("EDATE")), qPrintable(date.format));
        const SavVariable& mode = file.variables[7];
        QCOMPARE(
            file.valueLabels.value(mode.labelSet),
            (QMap<double, QString>{{0, QStringLiteral("тест")}, {1, QStringLiteral("вручную")}}));
        for (int k = 0; k < scoring::kScales; ++k) {
            const SavVariable& scale = file.variables[8 + k];
            QCOMPARE(scale.measure, READSTAT_MEASURE_ORDINAL);
            QVERIFY2(scale.label.startsWith(texts[std::size_t(k)].title) &&
                         scale.label.contains(exporting::polesText(texts[std::size_t(k)].poles)),
                     qPrintable(scale.label));
        }

        // SPSS counts seconds from 14 October 1582, which is 12,219,379,200 s before 1970.
        const double december9 =
            12219379200.0 + 86400.0 * double(QDate(1970, 1, 1).daysTo(QDate(2026, 12, 9)));
        QCOMPARE(file.values.size(), 3);
        const QList<QVariant>& first = file.values[0];
        QCOMPARE(first.size(), 25);
        QCOMPARE(first[0].toString(), QStringLiteral("09.12.2026.res"));
        QCOMPARE(first[2].toDouble(), december9);
        QCOMPARE(first[3].toString(), QStringLiteral("Иванов"));
        QCOMPARE(first[24].toDouble(), 4.0);
        QCOMPARE(file.values[1][5].toString(), QStringLiteral("02"));
        QCOMPARE(file.values[1][7].toDouble(), 1.0);
        const QList<QVariant>& damaged = file.values[2];
        QCOMPARE(damaged[1].toDouble(), 2.0);
        QVERIFY(damaged[2].isNull()); // NaN date
        QCOMPARE(damaged[3].toString(), QStringLiteral("Абвгдежзийклмнопрсту"));
        QVERIFY(damaged[7].isNull()); // unknown entry byte
        // The text columns as wide as their longest texts.
        QList<int> widths;
        for (int v = 3; v <= 6; ++v)
            widths.append(file.variables[v].displayWidth);
        QCOMPARE(widths, (QList<int>{20, 7, 2, 5}));
    }

    // The archive window's call: the form by the extension, in any case.
    void saveTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("csv") << "table.csv"
                             << QByteArray("\xEF\xBB\xBF"
                                           "file;record;");
        QTest::newRow("xlsx") << "table.XLSX" << QByteArray("PK\x03\x04");
        QTest::newRow("sav") << "table.sav" << QByteArray("$FL2");
    }
    void saveTable() {
        QFETCH(QString, name);
        QFETCH(QByteArray, starts);
        testing::TempWorkDir dir;
        dir.writeFile(kFile, sampleFile());
        const auto failures = exporting::saveTable(name, {QStringLiteral("missing.res"), kFile});
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].file, QStringLiteral("missing.res"));
        QVERIFY(dir.readFile(name).startsWith(starts));
    }

    // A table longer than a sheet is refused at once, from the files' sizes, before any row is
    // read (a sparse file: nothing of it is on the disk).
    void xlsxBeyondASheet() {
        testing::TempWorkDir dir;
        dir.writeFile(kFile, QByteArray());
        QVERIFY(QFile::resize(dir.filePath(kFile), qint64(scoring::kRecordSize) * 1'048'576));
        QElapsedTimer timer;
        timer.start();
        const testing::ToolRun run = testing::runExportTool({"-o", "out.xlsx", kFile});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errors, QStringLiteral("dorvel-export: out.xlsx: лист Excel вмещает не больше "
                                            "1048575 записей; выгрузите таблицу в CSV или SAV\n"));
        QVERIFY(timer.elapsed() < 10000);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out.xlsx"))));
    }

    void tool_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrHas");
        QTest::addColumn<QByteArray>("outStarts"); // the output file's first bytes; empty: none

        const QByteArray zip("PK\x03\x04"), sav("$FL2");
        QTest::newRow("xlsx by extension")
            << QStringList{"-o", "out.xlsx", kFile} << 0 << "" << zip;
        QTest::newRow("sav by option")
            << QStringList{"--format", "sav", "-o", "out.xlsx", kFile} << 0 << "" << sav;
        QTest::newRow("sav with a missing file")
            << QStringList{"-o", "out.xlsx", "--format", "sav", "missing.res", kFile} << 1
            << "missing.res: File not found" << sav;
        QTest::newRow("xlsx without -o")
            << QStringList{"--format", "xlsx", kFile} << 2 << "только в файл" << QByteArray();
        QTest::newRow("sav without -o")
            << QStringList{"--format", "sav", kFile} << 2 << "только в файл" << QByteArray();
        QTest::newRow("separator for sav")
            << QStringList{"--separator", ",", "-o", "out.xlsx", "--format", "sav", kFile} << 2
            << "--separator" << QByteArray();
        QTest::newRow("unknown format") << QStringList{"--format", "ods", "-o", "out.xlsx", kFile}
                                        << 2 << "--format" << QByteArray();
        QTest::newRow("unwritable") << QStringList{"-o", "result/09.12.2026.res/out.xlsx", kFile}
                                    << 1 << "Invalid filename" << QByteArray();
    }
    void tool() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrHas);
        QFETCH(QByteArray, outStarts);
        testing::TempWorkDir dir;
        dir.writeFile(kFile, sampleFile());
        const testing::ToolRun run = testing::runExportTool(arguments);
        QCOMPARE(run.exitCode, exitCode);
        // Besides what the row expects, only the damaged record and the partial tail are named.
        QString errors = run.errors;
        errors.remove(QRegularExpression(
            QStringLiteral("^dorvel-export: result/09.12.2026.res: запись [23]: .*\n"),
            QRegularExpression::MultilineOption));
        if (stderrHas.isEmpty())
            QCOMPARE(errors, QString());
        else
            QVERIFY2(errors.contains(stderrHas), qPrintable(run.errors));
        const QByteArray out = dir.readFile(QStringLiteral("out.xlsx"));
        if (outStarts.isEmpty())
            QVERIFY(out.isEmpty());
        else
            QVERIFY2(out.startsWith(outStarts), out.left(8).constData());
    }

    // Every output is whole or replaces nothing: on a full disk, under a file-size limit (the
    // signal SIGXFSZ left at its default), at a FIFO, or at one of the inputs, the tool says why
    // and exits 1, the old file stays as it was and no temporary file is left beside it.
    void outputFaults_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("stderrHas");
        const QList<std::pair<QString, QString>> faults = {{"full disk", "Disk full"},
                                                           {"size limit", "Disk full"},
                                                           {"fifo", "не обычный файл"},
                                                           {"input", "один из выгружаемых файлов"}};
        for (const QString format : {"csv", "xlsx", "sav", "pdf"}) {
            for (const auto& [fault, text] : faults)
                QTest::newRow(qPrintable(format + u' ' + fault)) << format << fault << text;
        }
    }
    void outputFaults() {
        QFETCH(QString, format);
        QFETCH(QString, fault);
        QFETCH(QString, stderrHas);
        if (QStandardPaths::findExecutable(QStringLiteral("prlimit")).isEmpty())
            QSKIP("prlimit (util-linux) is not installed");
        testing::TempWorkDir dir;
        const QByteArray input = largeFile();
        dir.writeFile(kFile, input);
        QString target;
        const QStringList arguments = outputArguments(format, kFile, target);
        std::optional<SmallDisk> disk;
        QStringList launcher;
        if (fault == u"full disk") {
            disk.emplace(dir.filePath(QStringLiteral("out")));
            if (!disk->mounted())
                launcher = testing::fileSizeLimited(16 * 1024);
        } else if (fault == u"size limit") {
            launcher = testing::fileSizeLimited(8 * 1024);
        }
        dir.makeFolder(QStringLiteral("out"));
        if (fault == u"fifo")
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {dir.filePath(target)}), 0);
        else if (fault == u"input")
            QVERIFY(QFile::link(dir.filePath(kFile), dir.filePath(target)));
        else
            dir.writeFile(target, "old");

        const testing::ToolRun run = testing::runExportTool(
            fault == u"input" && format != u"pdf" ? QStringList{"-o", target, kFile, target}
                                                  : arguments,
            launcher);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(stderrHas), qPrintable(run.errors));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{QFileInfo(target).fileName()});
        if (fault == u"fifo")
            QVERIFY(!QFileInfo(dir.filePath(target)).isFile());
        else if (fault == u"input")
            QCOMPARE(dir.readFile(kFile), input);
        else
            QCOMPARE(dir.readFile(target), QByteArray("old"));
    }

    // A damaged record leaves in every format with its damage as missing values: a sten
    // outside 1 to 10 an empty cell (system-missing in SAV, no point of the PDF's chart), a
    // text ending at its first NUL; standard error names each damaged record and the partial
    // tail once.
    void damagedRecords_data() {
        QTest::addColumn<QString>("format");
        for (const char* format : {"csv", "xlsx", "sav", "pdf"})
            QTest::newRow(format) << QString::fromLatin1(format);
    }
    void damagedRecords() {
        QFETCH(QString, format);
        if (format == u"pdf" &&
            (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
             QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()))
            QSKIP("poppler-utils is not installed");
        if (format == u"xlsx" && QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        // Records 1 and 2: the surname's length byte over its text, so that the field's NULs
        // follow it, and scale A at 200 and 0.
        QByteArray damaged = scoring::encodeRecord(record(QStringLiteral("Петров"), "2", 0));
        damaged[0] = char(20);
        damaged[54 + 1] = char(200);
        QByteArray zero = damaged;
        zero[54 + 1] = char(0);
        testing::TempWorkDir dir;
        dir.writeFile(kFile, scoring::encodeRecord(record(QStringLiteral("Иванов"), "2", 0)) +
                                 damaged + zero + QByteArray(40, 'x'));
        QString target;
        QStringList arguments = outputArguments(format, kFile, target);
        if (format == u"pdf")
            arguments = QStringList{"--pdf", "-o", "out", kFile};
        dir.makeFolder(QStringLiteral("out"));

        const testing::ToolRun run = testing::runExportTool(arguments);
        QCOMPARE(run.exitCode, 0);
        const QString start = QStringLiteral("dorvel-export: ") + kFile;
        QCOMPARE(run.errors,
                 start + QStringLiteral(": запись 1: повреждена\n") + start +
                     QStringLiteral(": запись 2: повреждена\n") + start +
                     QStringLiteral(": запись 3: неполная (40 байт из 88), не выгружена\n"));
        const QString out = dir.filePath(target);
        if (format == u"csv") {
            const QStringList lines =
                QString::fromUtf8(dir.readFile(target)).split(QStringLiteral("\r\n"));
            for (int row : {2, 3}) {
                const QStringList cells = lines.value(row).split(u';');
                QCOMPARE(cells.value(3), QStringLiteral("Петров"));
                QCOMPARE(cells.value(9), QString()); // scale A
                QCOMPARE(cells.value(10), QStringLiteral("3"));
            }
        } else if (format == u"xlsx") {
            const QMap<QString, Cell> cells =
                sheetCells(unzipMember(out, "xl/worksheets/sheet1.xml"));
            for (const QString row : {"3", "4"}) {
                QCOMPARE(cells.value(u'D' + row).value, QStringLiteral("Петров"));
                QVERIFY(!cells.contains(u'J' + row));
                QCOMPARE(cells.value(u'K' + row).value, QStringLiteral("3"));
            }
        } else if (format == u"sav") {
            readstat_error_t error = READSTAT_OK;
            const SavFile file = readSav(out, error);
            QCOMPARE(error, READSTAT_OK);
            for (int row : {1, 2}) {
                QCOMPARE(file.values.value(row).value(3).toString(), QStringLiteral("Петров"));
                QVERIFY(file.values.value(row).value(9).isNull());
                QCOMPARE(file.values.value(row).value(10).toDouble(), 3.0);
            }
        } else {
            // 200 and 0 alike are no point of the chart: the two pages are the same picture.
            const QString page = pdfToText(dir.filePath(QStringLiteral("out/09.12.2026_1.pdf")));
            QVERIFY2(page.contains(QStringLiteral("Петров")) &&
                         !page.contains(QStringLiteral("200")),
                     qPrintable(page));
            const QByteArray first = pdfToPng(dir.filePath(QStringLiteral("out/09.12.2026_1.pdf")));
            QVERIFY(!first.isEmpty());
            QVERIFY(first == pdfToPng(dir.filePath(QStringLiteral("out/09.12.2026_2.pdf"))));
        }
    }
};

QTEST_GUILESS_MAIN(TestExportFormats)
#include "test_export_formats.moc"
