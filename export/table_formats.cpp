#include "export/table_formats.h"

#include "export/pdf_report.h"
#include "export/table_rows.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "scoring/entry_mode.h"

#include <QDate>
#include <QFile>
#include <QSaveFile>
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

// ---- XLSX -------------------------------------------------------------------------------

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw OutputFailure{QString::fromUtf8(lxw_strerror(error))};
}

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
        check(workbook_close(book));
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

void writeNumber(lxw_worksheet* sheet, lxw_row_t row, int column, double value,
                 ColumnWidths& widths) {
    check(worksheet_write_number(sheet, row, lxw_col_t(column), value, nullptr));
    widths.fit(column, QString::number(value, 'g', 15).size());
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
}

void writeXlsxFile(const QByteArray& fileName, const QStringList& files,
                   const scoring::Explanations& texts, QList<FileFailure>& failures) {
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
    failures = forEachTableRecord(files, [&](qsizetype file, qint64 index,
                                             const scoring::ResultRecord& record) {
        if (++records > kMostXlsxRecords)
            throw OutputFailure{
                QStringLiteral("Лист Excel вмещает не больше %1 записей; выгрузите таблицу "
                               "в CSV или SAV")
                    .arg(kMostXlsxRecords)};
        if (file != cellOf) {
            fileCell = withoutFolder(files[file]);
            cellOf = file;
        }
        const auto row = lxw_row_t(records);
        writeText(results, row, 0, fileCell, widths);
        writeNumber(results, row, 1, double(index), widths);
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
        writeText(results, row, 7, QString::fromLatin1(modeCell(record.manualEntry)), widths);
        for (int k = 0; k < scoring::kScales; ++k)
            writeNumber(results, row, kFirstScaleColumn + k, record.scales[std::size_t(k)], widths);
    });
    widths.apply(results);
    writeScalesSheet(scales, texts, bold);
    book.close();
}

// Puts the whole of `made` at `path`, replacing it only once every byte is written.
void publish(QFile& made, const QString& path) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw OutputFailure{out.errorString()};
    if (!made.open(QIODevice::ReadOnly))
        throw OutputFailure{made.errorString()};
    QByteArray piece;
    while (!(piece = made.read(1 << 20)).isEmpty()) {
        if (out.write(piece) != piece.size())
            throw OutputFailure{out.errorString()};
    }
    if (made.error() != QFileDevice::NoError)
        throw OutputFailure{made.errorString()};
    if (!out.commit())
        throw OutputFailure{out.errorString()};
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

ssize_t writeSavBytes(const void* data, size_t length, void* device) {
    auto* out = static_cast<QIODevice*>(device);
    return out->write(static_cast<const char*>(data), qint64(length)) == qint64(length)
               ? ssize_t(length)
               : -1;
}

struct SavVariables {
    readstat_variable_t* file;
    readstat_variable_t* record;
    readstat_variable_t* date;
    std::array<readstat_variable_t*, 4> texts; // surname, first name, course, group
    readstat_variable_t* mode;
    std::array<readstat_variable_t*, scoring::kScales> scales;
};

SavVariables addSavVariables(SavWriter& writer, std::size_t fileWidth,
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
    for (int k = 0; k < scoring::kScales; ++k)
        check(readstat_insert_double_value(writer, variables.scales[std::size_t(k)],
                                           record.scales[std::size_t(k)]));
    check(readstat_end_row(writer));
}

void writeSavFile(QIODevice& out, const QStringList& files, const scoring::Explanations& texts,
                  QList<FileFailure>& failures) {
    // First the records each file has, as far as it can be read; SPSS needs the count ahead.
    std::vector<qint64> counts(std::size_t(files.size()), 0);
    failures = forEachTableRecord(files, [&](qsizetype file, qint64, const scoring::ResultRecord&) {
        ++counts[std::size_t(file)];
    });
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
    const SavVariables variables = addSavVariables(writer, fileWidth, texts);
    check(readstat_begin_writing_sav(writer.get(), &out, long(total)));

    std::vector<qint64> written(counts.size(), 0);
    QByteArray fileCell;
    qsizetype cellOf = -1;
    const QList<FileFailure> again = forEachTableRecord(
        files, [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
            if (index >= counts[std::size_t(file)])
                return; // appended since the count
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

QList<FileFailure> writeXlsx(const QString& path, const QStringList& files,
                             const scoring::Explanations& texts) {
    QList<FileFailure> failures;
    try {
        // The library writes to a file name; the workbook is made aside and then put in place.
        QTemporaryFile made;
        if (!made.open())
            throw OutputFailure{made.errorString()};
        made.close();
        writeXlsxFile(QFile::encodeName(made.fileName()), files, texts, failures);
        publish(made, path);
    } catch (const OutputFailure& failure) {
        throw platform::Error(platform::cannotCreateText(path, failure.reason));
    }
    return failures;
}

QList<FileFailure> writeSav(const QString& path, const QStringList& files,
                            const scoring::Explanations& texts) {
    QList<FileFailure> failures;
    try {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            throw OutputFailure{out.errorString()};
        try {
            writeSavFile(out, files, texts, failures);
        } catch (const OutputFailure&) {
            // The device's own reason beats the library's "unable to write".
            if (out.error() != QFileDevice::NoError)
                throw OutputFailure{out.errorString()};
            throw;
        }
        if (!out.commit())
            throw OutputFailure{out.errorString()};
    } catch (const OutputFailure& failure) {
        throw platform::Error(platform::cannotCreateText(path, failure.reason));
    }
    return failures;
}

QList<FileFailure> saveTable(const QString& path, const QStringList& files) {
    const TableFormat format = tableFormatFor(path);
    if (format == TableFormat::Csv) {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            throw platform::Error(platform::cannotCreateText(path, out.errorString()));
        const QList<FileFailure> failures = writeTable(out, files);
        if (!out.commit())
            throw platform::Error(platform::cannotCreateText(path, out.errorString()));
        return failures;
    }
    const scoring::Explanations& texts = graphics::explanations();
    return format == TableFormat::Xlsx ? writeXlsx(path, files, texts)
                                       : writeSav(path, files, texts);
}

} // namespace exporting
