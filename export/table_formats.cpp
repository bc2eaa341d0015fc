#include "export/table_formats.h"

#include "export/pdf_report.h"
#include "export/table_rows.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/os_files.h"
#include "platform/paths.h"
#include "scoring/entry_mode.h"
#include "scoring/result_file.h"

#include <QDate>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <optional>
#include <readstat.h>
#include <vector>
#include <xlsxwriter.h>

namespace exporting {

namespace {

// A failure to make the output file, kept apart from the failures of reading a result file
// (both would otherwise be platform::Error inside the record loop).
struct OutputFailure {
    QString reason;
};

constexpr int kColumnCount = 8 + scoring::kScales;
constexpr int kFirstScaleColumn = 8;

QStringList columnNames() {
    return tableHeader(';').split(u';');
}

// Excel's last row, less the header.
constexpr qint64 kMostXlsxRecords = LXW_ROW_MAX - 1;

QString tooManyForXlsxText() {
    return QStringLiteral(
               "лист Excel вмещает не больше %1 записей; выгрузите таблицу в CSV или SAV")
        .arg(kMostXlsxRecords);
}

// What the SPSS file says of its missing stens, in lines of at most 80 bytes.
constexpr const char* kMissingStenNote[] = {"Стен вне шкалы от 1 до 10 (запись повреждена)",
                                            "записан как системный пропуск."};

// ---- XLSX -------------------------------------------------------------------------------

// The library's failure, in the program's words where a file operation failed for a reason the
// program has a text for ("Disk full"); the system's number is read right after the call.
void check(lxw_error error) {
    if (error == LXW_NO_ERROR)
        return;
    const int code = platform::os::lastError();
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        if (code != 0 && platform::os::faultOf(code) != platform::FileFault::Other)
            throw OutputFailure{platform::errorText(code, QString())};
        break;
    default:
        break;
    }
    throw OutputFailure{QString::fromUtf8(lxw_strerror(error))};
}

// The library does not check its writes to its own temporary files: a write the system refused
// (a full disk, a file-size limit) shows only in the system's number it leaves behind, which
// is therefore cleared before the library's calls and looked at after them.
void checkLibraryWrites() {
    const int code = platform::os::lastError();
    if (code != 0 && platform::os::faultOf(code) == platform::FileFault::DiskFull)
        throw OutputFailure{platform::errorText(code, QString())};
}

// The library prints its own "[ERROR]" lines to standard error; the caller says what failed.
class LibraryNotesMuted {
public:
    LibraryNotesMuted() : m_saved(platform::os::muteStandardError()) {}
    ~LibraryNotesMuted() { platform::os::restoreStandardError(m_saved); }
    LibraryNotesMuted(const LibraryNotesMuted&) = delete;
    LibraryNotesMuted& operator=(const LibraryNotesMuted&) = delete;

private:
    int m_saved;
};

// A workbook that is freed unwritten unless it is closed.
class Workbook {
public:
    explicit Workbook(const QByteArray& fileName) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // rows go to a temporary file as they are written
        m_book = workbook_new_opt(fileName.constData(), &options);
        if (m_book == nullptr)
            throw OutputFailure{QStringLiteral("Memory allocation failed")};
    }
    ~Workbook() {
        if (m_book != nullptr)
            lxw_workbook_free(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_worksheet* addSheet(const QString& name) {
        lxw_worksheet* sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (sheet == nullptr)
            throw OutputFailure{QStringLiteral("Cannot add the sheet %1").arg(name)};
        return sheet;
    }
    lxw_format* addFormat() { return workbook_add_format(m_book); }

    void close() {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        platform::os::clearLastError();
        check(workbook_close(book));
        checkLibraryWrites();
    }

private:
    lxw_workbook* m_book = nullptr;
};

// Column widths that fit the longest cell of each column, in characters of the default font.
class ColumnWidths {
public:
    explicit ColumnWidths(int columns) : m_widths(std::size_t(columns), 0) {}
    void fit(int column, qsizetype characters) {
        m_widths[std::size_t(column)] = std::max(m_widths[std::size_t(column)], characters);
    }
    void apply(lxw_worksheet* sheet) const {
        for (std::size_t c = 0; c < m_widths.size(); ++c) {
            // A little over one unit per character: Cyrillic letters run wider than digits.
            const double width = std::clamp(1.15 * double(m_widths[c]) + 2.0, 4.0, 100.0);
            check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr));
        }
    }

private:
    std::vector<qsizetype> m_widths;
};

// A spreadsheet reads "_xHHHH_" in a cell as the character HHHH (the library writes control
// characters that way); a stored text that happens to hold one keeps it by escaping its "_".
QByteArray cellText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (qsizetype at = bytes.indexOf("_x"); at >= 0; at = bytes.indexOf("_x", at + 1)) {
        const QByteArray code = bytes.mid(at + 2, 5);
        bool hex = code.size() == 5 && code[4] == '_';
        for (qsizetype n = 0; hex && n < 4; ++n)
            hex = std::isxdigit(static_cast<unsigned char>(code[n])) != 0;
        if (hex) {
            bytes.replace(at, 1, "_x005F_");
            at += 6;
        }
    }
    return bytes;
}

void writeText(lxw_worksheet* sheet, lxw_row_t row, int column, const QString& text,
               ColumnWidths& widths, lxw_format* format = nullptr) {
    if (text.isEmpty())
        return;
    check(
        worksheet_write_string(sheet, row, lxw_col_t(column), cellText(text).constData(), format));
    widths.fit(column, text.size());
}

// The digits of a whole number, all a cell of one shows.
int digitCount(quint64 value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

void writeNumber(lxw_worksheet* sheet, lxw_row_t row, int column, quint64 value,
                 ColumnWidths& widths) {
    check(worksheet_write_number(sheet, row, lxw_col_t(column), double(value), nullptr));
    widths.fit(column, digitCount(value));
}

// A sheet printed across: landscape A4, as wide as the page, the first row on every page.
void printAcross(lxw_worksheet* sheet) {
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9); // A4
    worksheet_fit_to_pages(sheet, 1, 0);
    check(worksheet_repeat_rows(sheet, 0, 0));
}

void writeHeader(lxw_worksheet* sheet, const QStringList& names, lxw_format* bold,
                 ColumnWidths& widths) {
    for (int c = 0; c < names.size(); ++c)
        writeText(sheet, 0, c, names[c], widths, bold);
    worksheet_freeze_panes(sheet, 1, 0);
}

void writeScalesSheet(lxw_worksheet* sheet, const scoring::Explanations& texts, lxw_format* bold) {
    ColumnWidths widths(3);
    writeHeader(sheet,
                {QStringLiteral("Шкала"), QStringLiteral("Фактор"), QStringLiteral("Полюса")}, bold,
                widths);
    for (int k = 0; k < scoring::kScales; ++k) {
        const scoring::Explanation& entry = texts[std::size_t(k)];
        const auto row = lxw_row_t(k + 1);
        writeText(sheet, row, 0, QLatin1String(scoring::kScaleCodes[std::size_t(k)]), widths);
        writeText(sheet, row, 1, entry.title, widths);
        writeText(sheet, row, 2, polesText(entry.poles), widths);
    }
    widths.apply(sheet);
    printAcross(sheet);
}

void writeXlsxFile(const QByteArray& fileName, const QStringList& files,
                   const scoring::Explanations& texts, QList<FileFailure>& failures,
                   QStringList* notes, const scoring::RecordFilter& filter) {
    const LibraryNotesMuted muted;
    Workbook book(fileName);
    lxw_worksheet* results = book.addSheet(QStringLiteral("Результаты"));
    lxw_worksheet* scales = book.addSheet(QStringLiteral("Шкалы"));
    lxw_format* bold = book.addFormat();
    format_set_bold(bold);
    lxw_format* dateFormat = book.addFormat();
    format_set_num_format(dateFormat, "dd.mm.yyyy");

    ColumnWidths widths(kColumnCount);
    writeHeader(results, columnNames(), bold, widths);
    qint64 records = 0;
    QString fileCell;
    qsizetype cellOf = -1;
    platform::os::clearLastError();
    failures = forEachTableRecord(
        files,
        [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
            if (!filter.accepts(record))
                return;
            if (++records > kMostXlsxRecords) // grown since the sizes were taken
                throw OutputFailure{tooManyForXlsxText()};
            if (file != cellOf) {
                fileCell = withoutFolder(files[file]);
                cellOf = file;
            }
            const auto row = lxw_row_t(records);
            writeText(results, row, 0, fileCell, widths);
            writeNumber(results, row, 1, quint64(index), widths);
            if (const auto date = platform::dateFromDayCount(record.date)) {
                if (date->year() >= 1900) {
                    lxw_datetime cell{date->year(), date->month(), date->day(), 0, 0, 0.0};
                    check(worksheet_write_datetime(results, row, 2, &cell, dateFormat));
                    widths.fit(2, 10);
                } else {
                    writeText(results, row, 2, date->toString(u"dd.MM.yyyy"), widths);
                }
            }
            writeText(results, row, 3, record.surname, widths);
            writeText(results, row, 4, record.firstName, widths);
            writeText(results, row, 5, record.course, widths);
            writeText(results, row, 6, record.group, widths);
            writeText(results, row, 7, modeWord(record.manualEntry), widths);
            for (int k = 0; k < scoring::kScales; ++k) {
                if (const quint8 sten = record.scales[std::size_t(k)]; isSten(sten))
                    writeNumber(results, row, kFirstScaleColumn + k, sten, widths);
            }
            checkLibraryWrites();
        },
        notes);
    widths.apply(results);
    printAcross(results);
    writeScalesSheet(scales, texts, bold);
    book.close();
}

// Puts the whole of `made` in `out` and commits it.
void publish(QFile& made, platform::OutputFile& out) {
    if (!made.open(QIODevice::ReadOnly))
        throw OutputFailure{made.errorString()};
    QByteArray piece;
    while (!(piece = made.read(1 << 20)).isEmpty())
        out.write(piece);
    if (made.error() != QFileDevice::NoError)
        throw OutputFailure{made.errorString()};
    out.commit();
}

// ---- SAV --------------------------------------------------------------------------------

void check(readstat_error_t error) {
    if (error != READSTAT_OK)
        throw OutputFailure{QString::fromUtf8(readstat_error_message(error))};
}

// SPSS counts time in seconds from 14 October 1582, the eve of the Gregorian calendar.
const qint64 kSpssFirstDay = QDate(1582, 10, 14).toJulianDay();

// The SPSS date of a stored day count, or nothing for a damaged one or a day SPSS cannot show.
std::optional<double> spssDate(double days) {
    const auto date = platform::dateFromDayCount(days);
    if (!date || date->toJulianDay() <= kSpssFirstDay)
        return std::nullopt;
    return double(date->toJulianDay() - kSpssFirstDay) * 86400.0;
}

// A label in UTF-8 of at most 255 bytes, cut between characters.
QByteArray labelBytes(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > 255) {
        qsizetype end = 255;
        while (end > 0 && (quint8(bytes[end]) & 0xC0) == 0x80)
            --end;
        bytes.truncate(end);
    }
    return bytes;
}

// The longest stored text of each field, in UTF-8 bytes: one character of the record's code
// page takes at most three.
constexpr std::size_t kNameWidth = 20 * 3;
constexpr std::size_t kCourseWidth = 5 * 3;

class SavWriter {
public:
    SavWriter() : m_writer(readstat_writer_init()) {
        if (m_writer == nullptr)
            throw OutputFailure{QStringLiteral("Memory allocation failed")};
    }
    ~SavWriter() { readstat_writer_free(m_writer); }
    SavWriter(const SavWriter&) = delete;
    SavWriter& operator=(const SavWriter&) = delete;
    readstat_writer_t* get() const { return m_writer; }

    readstat_variable_t* add(const char* name, readstat_type_t type, std::size_t width,
                             const QString& label, readstat_measure_t measure,
                             const char* format = nullptr) {
        readstat_variable_t* variable = readstat_add_variable(m_writer, name, type, width);
        if (variable == nullptr)
            throw OutputFailure{QStringLiteral("Cannot add the variable %1").arg(name)};
        readstat_variable_set_label(variable, labelBytes(label).constData());
        readstat_variable_set_measure(variable, measure);
        if (format != nullptr)
            readstat_variable_set_format(variable, format);
        return variable;
    }

private:
    readstat_writer_t* m_writer;
};

// The output file as the library's writer sees it: a failure is kept for after the library
// has given up, since nothing may be thrown through it.
struct SavOutput {
    platform::OutputFile& file;
    std::optional<QString> failure;
};

ssize_t writeSavBytes(const void* data, size_t length, void* output) {
    auto* out = static_cast<SavOutput*>(output);
    try {
        out->file.write(QByteArrayView(static_cast<const char*>(data), qsizetype(length)));
        return ssize_t(length);
    } catch (const platform::Error& error) {
        if (!out->failure) // the first failure is the one that counts
            out->failure = error.text();
        return -1;
    }
}

// The longest text of each text column, in characters, for its display width.
struct TextWidths {
    std::array<int, 4> longest{1, 1, 1, 1}; // surname, first name, course, group
    void fit(const scoring::ResultRecord& record) {
        const QString* texts[] = {&record.surname, &record.firstName, &record.course,
                                  &record.group};
        for (std::size_t t = 0; t < longest.size(); ++t)
            longest[t] = std::max(longest[t], int(texts[t]->size()));
    }
};

struct SavVariables {
    readstat_variable_t* file;
    readstat_variable_t* record;
    readstat_variable_t* date;
    std::array<readstat_variable_t*, 4> texts; // surname, first name, course, group
    readstat_variable_t* mode;
    std::array<readstat_variable_t*, scoring::kScales> scales;
};

SavVariables addSavVariables(SavWriter& writer, std::size_t fileWidth, const TextWidths& widths,
                             const scoring::Explanations& texts) {
    SavVariables variables{};
    variables.file = writer.add("file", READSTAT_TYPE_STRING, fileWidth,
                                QStringLiteral("Файл результатов"), READSTAT_MEASURE_NOMINAL);
    variables.record =
        writer.add("record", READSTAT_TYPE_DOUBLE, 0, QStringLiteral("Номер записи в файле, от 0"),
                   READSTAT_MEASURE_SCALE, "F10.0");
    variables.date =
        writer.add("date", READSTAT_TYPE_DOUBLE, 0, QStringLiteral("Дата тестирования"),
                   READSTAT_MEASURE_SCALE, "EDATE10");
    variables.texts = {writer.add("surname", READSTAT_TYPE_STRING, kNameWidth,
                                  QStringLiteral("Фамилия"), READSTAT_MEASURE_NOMINAL),
                       writer.add("first_name", READSTAT_TYPE_STRING, kNameWidth,
                                  QStringLiteral("Имя"), READSTAT_MEASURE_NOMINAL),
                       writer.add("course", READSTAT_TYPE_STRING, kCourseWidth,
                                  QStringLiteral("Курс"), READSTAT_MEASURE_NOMINAL),
                       writer.add("group", READSTAT_TYPE_STRING, kCourseWidth,
                                  QStringLiteral("Группа"), READSTAT_MEASURE_NOMINAL)};
    for (std::size_t t = 0; t < variables.texts.size(); ++t)
        readstat_variable_set_display_width(variables.texts[t], widths.longest[t]);

    readstat_label_set_t* modes =
        readstat_add_label_set(writer.get(), READSTAT_TYPE_DOUBLE, "mode_labels");
    for (const scoring::EntryMode mode : {scoring::EntryMode::Test, scoring::EntryMode::Manual})
        readstat_label_double_value(
            modes, double(mode),
            scoring::entryModeWords(quint8(mode), scoring::ModeWords::ValueLabel));
    variables.mode =
        writer.add("mode", READSTAT_TYPE_DOUBLE, 0, QStringLiteral("Способ ввода ответов"),
                   READSTAT_MEASURE_NOMINAL, "F1.0");
    readstat_variable_set_label_set(variables.mode, modes);

    for (int k = 0; k < scoring::kScales; ++k) {
        const scoring::Explanation& entry = texts[std::size_t(k)];
        const QString poles = polesText(entry.poles);
        const QString label =
            poles.isEmpty() ? entry.title : entry.title + QStringLiteral(": ") + poles;
        variables.scales[std::size_t(k)] =
            writer.add(scoring::kScaleCodes[std::size_t(k)], READSTAT_TYPE_DOUBLE, 0, label,
                       READSTAT_MEASURE_ORDINAL, "F2.0");
    }
    return variables;
}

void writeSavRow(readstat_writer_t* writer, const SavVariables& variables,
                 const QByteArray& fileCell, qint64 index, const scoring::ResultRecord& record) {
    check(readstat_begin_row(writer));
    check(readstat_insert_string_value(writer, variables.file, fileCell.constData()));
    check(readstat_insert_double_value(writer, variables.record, double(index)));
    if (const auto date = spssDate(record.date))
        check(readstat_insert_double_value(writer, variables.date, *date));
    else
        check(readstat_insert_missing_value(writer, variables.date));
    const QString* texts[] = {&record.surname, &record.firstName, &record.course, &record.group};
    for (std::size_t t = 0; t < variables.texts.size(); ++t)
        check(readstat_insert_string_value(writer, variables.texts[t],
                                           texts[t]->toUtf8().constData()));
    if (record.manualEntry <= 1)
        check(readstat_insert_double_value(writer, variables.mode, record.manualEntry));
    else
        check(readstat_insert_missing_value(writer, variables.mode));
    for (int k = 0; k < scoring::kScales; ++k) {
        readstat_variable_t* scale = variables.scales[std::size_t(k)];
        if (const quint8 sten = record.scales[std::size_t(k)]; isSten(sten))
            check(readstat_insert_double_value(writer, scale, sten));
        else
            check(readstat_insert_missing_value(writer, scale));
    }
    check(readstat_end_row(writer));
}

void writeSavFile(SavOutput& out, const QStringList& files, const scoring::Explanations& texts,
                  QList<FileFailure>& failures, QStringList* notes,
                  const scoring::RecordFilter& filter) {
    // First the records each file has, as far as it can be read, the ones the filter takes and
    // their longest texts; SPSS needs the count ahead.
    std::vector<qint64> counts(std::size_t(files.size()), 0);
    std::vector<qint64> limits(std::size_t(files.size()), 0);
    TextWidths widths;
    failures = forEachTableRecord(
        files,
        [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
            limits[std::size_t(file)] = index + 1;
            if (!filter.accepts(record))
                return;
            ++counts[std::size_t(file)];
            widths.fit(record);
        },
        notes);
    qint64 total = 0;
    std::size_t fileWidth = 1;
    for (qsizetype n = 0; n < files.size(); ++n) {
        total += counts[std::size_t(n)];
        fileWidth = std::max(fileWidth, std::size_t(withoutFolder(files[n]).toUtf8().size()));
    }
    if (total > std::numeric_limits<int>::max())
        throw OutputFailure{QStringLiteral("Too many records for an SPSS file")};

    SavWriter writer;
    check(readstat_set_data_writer(writer.get(), writeSavBytes));
    check(readstat_writer_set_compression(writer.get(), READSTAT_COMPRESS_ROWS));
    check(readstat_writer_set_file_label(writer.get(), "Тест Дорвела: результаты"));
    for (const char* line : kMissingStenNote)
        readstat_add_note(writer.get(), line);
    const SavVariables variables = addSavVariables(writer, fileWidth, widths, texts);
    check(readstat_begin_writing_sav(writer.get(), &out, long(total)));

    std::vector<qint64> written(counts.size(), 0);
    QByteArray fileCell;
    qsizetype cellOf = -1;
    const QList<FileFailure> again = forEachTableRecord(
        files, [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
            if (index >= limits[std::size_t(file)] || !filter.accepts(record))
                return; // appended since the count, or not taken
            if (file != cellOf) {
                fileCell = withoutFolder(files[file]).toUtf8();
                cellOf = file;
            }
            writeSavRow(writer.get(), variables, fileCell, index, record);
            ++written[std::size_t(file)];
        });
    for (std::size_t n = 0; n < counts.size(); ++n) {
        if (written[n] != counts[n]) {
            const QString reason = again.isEmpty()
                                       ? QStringLiteral("File changed while it was read")
                                       : again.front().reason;
            throw OutputFailure{files[qsizetype(n)] + QStringLiteral(": ") + reason};
        }
    }
    check(readstat_end_writing(writer.get()));
}

} // namespace

TableFormat tableFormatFor(const QString& path) {
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return TableFormat::Xlsx;
    if (path.endsWith(QStringLiteral(".sav"), Qt::CaseInsensitive))
        return TableFormat::Sav;
    return TableFormat::Csv;
}

void refuseInputAsOutput(const QString& path, const QStringList& files) {
    for (const QString& file : files) {
        if (platform::isSameFile(path, platform::resolvePath(file)))
            throw platform::Error(
                QStringLiteral("это один из выгружаемых файлов, он не заменяется"));
    }
}

QList<FileFailure> writeXlsx(const QString& path, const QStringList& files,
                             const scoring::Explanations& texts, QStringList* notes,
                             const scoring::RecordFilter& filter) {
    refuseInputAsOutput(path, files);
    // Refused at once when the files alone hold more records than a sheet has rows.
    qint64 records = 0;
    for (const QString& file : files) {
        try {
            records += scoring::recordCount(file);
        } catch (const platform::Error&) {
            // named with its reason when the table is made
        }
    }
    if (records > kMostXlsxRecords)
        throw platform::Error(tooManyForXlsxText());

    QList<FileFailure> failures;
    platform::OutputFile out(path);
    out.open();
    try {
        // The library writes to a file name; the workbook is made aside and then copied in.
        QTemporaryFile made;
        if (!made.open())
            throw OutputFailure{made.errorString()};
        made.close();
        writeXlsxFile(QFile::encodeName(made.fileName()), files, texts, failures, notes, filter);
        publish(made, out);
    } catch (const OutputFailure& failure) {
        throw platform::Error(failure.reason);
    }
    return failures;
}

QList<FileFailure> writeSav(const QString& path, const QStringList& files,
                            const scoring::Explanations& texts, QStringList* notes,
                            const scoring::RecordFilter& filter) {
    refuseInputAsOutput(path, files);
    QList<FileFailure> failures;
    platform::OutputFile file(path);
    file.open();
    SavOutput out{file, std::nullopt};
    try {
        writeSavFile(out, files, texts, failures, notes, filter);
    } catch (const OutputFailure& failure) {
        // The file's own reason beats the library's "unable to write".
        throw platform::Error(out.failure.value_or(failure.reason));
    }
    file.commit();
    return failures;
}

QList<FileFailure> writeCsv(const QString& path, const QStringList& files, char separator,
                            QStringList* notes, const scoring::RecordFilter& filter) {
    refuseInputAsOutput(path, files);
    platform::OutputFile out(path);
    out.open();
    const QList<FileFailure> failures = writeTable(out, files, separator, notes, filter);
    out.commit();
    return failures;
}

QList<FileFailure> saveTable(const QString& path, const QStringList& files) {
    const TableFormat format = tableFormatFor(path);
    if (format == TableFormat::Csv)
        return writeCsv(path, files);
    const scoring::Explanations& texts = graphics::explanations();
    return format == TableFormat::Xlsx ? writeXlsx(path, files, texts)
                                       : writeSav(path, files, texts);
}

} // namespace exporting
