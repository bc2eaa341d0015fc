#include "export/table_formats.h"

#include "export/pdf_report.h"
#include "export/table_rows.h"
#include "export/zip_writer.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "scoring/entry_mode.h"
#include "scoring/result_file.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <limits>
#include <optional>
#include <readstat.h>
#include <stdexcept>
#include <vector>

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
constexpr qint64 kMostXlsxRecords = 1'048'576 - 1;

QString tooManyForXlsxText() {
    return QStringLiteral(
               "лист Excel вмещает не больше %1 записей; выгрузите таблицу в CSV или SAV")
        .arg(kMostXlsxRecords);
}

// What the SPSS file says of its missing stens, in lines of at most 80 bytes.
constexpr const char* kMissingStenNote[] = {"Стен вне шкалы от 1 до 10 (запись повреждена)",
                                            "записан как системный пропуск."};

// ---- XLSX -------------------------------------------------------------------------------
//
// The workbook is written here, streamed into a zip: a sheet of a million rows is too much to
// hold, and a general library spends most of its time compressing hard and formatting numbers
// with printf. Only the parts Excel needs: content types, relationships, the workbook, the
// styles and the two sheets.

// Cell styles, as styles.xml below numbers them.
enum class Style { Plain = 0, Bold = 1, Date = 2 };

constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kMainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelationships[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray contentTypesXml() {
    const QByteArray worksheet =
        "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
    return kXmlHead +
           QByteArray("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "content-types\">"
                      "<Default Extension=\"rels\" ContentType=\"application/"
                      "vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                      "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                      "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                      "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"") +
           worksheet + "\"/><Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"" +
           worksheet +
           "\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>";
}

QByteArray packageRelationshipsXml() {
    return kXmlHead +
           QByteArray("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "relationships\"><Relationship Id=\"rId1\" Type=\"") +
           kRelationships + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
}

QByteArray workbookRelationshipsXml() {
    const QByteArray relationships(kRelationships);
    return kXmlHead +
           QByteArray("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "relationships\">") +
           "<Relationship Id=\"rId1\" Type=\"" + relationships +
           "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
           "<Relationship Id=\"rId2\" Type=\"" +
           relationships +
           "/worksheet\" Target=\"worksheets/sheet2.xml\"/>"
           "<Relationship Id=\"rId3\" Type=\"" +
           relationships + "/styles\" Target=\"styles.xml\"/></Relationships>";
}

// The two sheets; each prints its first row on every page.
QByteArray workbookXml(const QString& results, const QString& scales) {
    const QByteArray first = results.toUtf8(), second = scales.toUtf8();
    return kXmlHead + QByteArray("<workbook xmlns=\"") + kMainNamespace + "\" xmlns:r=\"" +
           kRelationships + "\"><sheets><sheet name=\"" + first +
           "\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"" + second +
           "\" sheetId=\"2\" r:id=\"rId2\"/></sheets><definedNames>"
           "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">'" +
           first +
           "'!$1:$1</definedName>"
           "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"1\">'" +
           second + "'!$1:$1</definedName></definedNames></workbook>";
}

// Plain, bold (the first rows) and the date dd.mm.yyyy, as Style numbers them.
QByteArray stylesXml() {
    return kXmlHead + QByteArray("<styleSheet xmlns=\"") + kMainNamespace +
           "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/>"
           "</numFmts><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/>"
           "<family val=\"2\"/></font><font><b/><sz val=\"11\"/><name val=\"Calibri\"/>"
           "<family val=\"2\"/></font></fonts><fills count=\"2\"><fill><patternFill "
           "patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>"
           "</fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/>"
           "</border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" "
           "fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"3\">"
           "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
           "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
           "applyFont=\"1\"/>"
           "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
           "applyNumberFormat=\"1\"/></cellXfs><cellStyles count=\"1\"><cellStyle "
           "name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";
}

// Column widths that fit the longest cell of each column, in characters of the default font.
class ColumnWidths {
public:
    explicit ColumnWidths(int columns) : m_widths(std::size_t(columns), 0) {}
    void fit(int column, qsizetype characters) {
        m_widths[std::size_t(column)] = std::max(m_widths[std::size_t(column)], characters);
    }
    QByteArray xml() const {
        QByteArray cols = "<cols>";
        for (std::size_t c = 0; c < m_widths.size(); ++c) {
            // A little over one unit per character: Cyrillic letters run wider than digits.
            const double width = std::clamp(1.15 * double(m_widths[c]) + 2.0, 4.0, 100.0);
            const QByteArray column = QByteArray::number(qulonglong(c + 1));
            cols += "<col min=\"" + column + "\" max=\"" + column + "\" width=\"" +
                    QByteArray::number(width, 'f', 2) + "\" customWidth=\"1\"/>";
        }
        return cols + "</cols>";
    }

private:
    std::vector<qsizetype> m_widths;
};

// The digits of a whole number, all a cell of one shows.
int digitCount(quint64 value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// A character a cell's text cannot hold as it is: XML's own, the control characters (written
// _xHHHH_, as a spreadsheet reads them) and "_", which may begin such an escape.
bool needsEscape(char16_t c) {
    return c < 0x20 || c == u'&' || c == u'<' || c == u'>' || c == u'_';
}

// A cell's text in XML: the control characters, CR included, as _xHHHH_; a stored "_xHHHH_"
// kept by escaping its "_" as _x005F_.
QString escapedText(QStringView text) {
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype n = 0; n < text.size(); ++n) {
        const char16_t c = text[n].unicode();
        if (c == u'&') {
            out += QLatin1String("&amp;");
        } else if (c == u'<') {
            out += QLatin1String("&lt;");
        } else if (c == u'>') {
            out += QLatin1String("&gt;");
        } else if (c < 0x20 && c != u'\t' && c != u'\n') {
            out += QStringLiteral("_x%1_")
                       .arg(uint(c), 4, 16, QChar(u'0'))
                       .toUpper()
                       .replace(QLatin1String("_X"), QLatin1String("_x"));
        } else if (c == u'_') {
            const QStringView code = text.mid(n + 1, 6);
            bool escape = code.size() == 6 && code[0] == u'x' && code[5] == u'_';
            for (qsizetype k = 1; escape && k < 5; ++k)
                escape = std::isxdigit(code[k].unicode() < 128 ? int(code[k].unicode()) : 0) != 0;
            out += escape ? QLatin1String("_x005F_") : QLatin1String("_");
        } else {
            out += QChar(c);
        }
    }
    return out;
}

// One sheet's XML, built in a buffer and handed to the zip in large pieces. Each cell first
// makes room for its longest possible form, then is written straight into the buffer. A cell
// right after the one before it in its row goes without its reference, as the format allows.
class SheetWriter {
public:
    explicit SheetWriter(ZipWriter& zip) : m_zip(zip) {
        m_buffer.resize(kPiece);
        m_at = m_buffer.data();
    }

    void raw(QByteArrayView bytes) {
        makeRoom(bytes.size());
        put(bytes);
    }
    void flush() {
        m_zip.write(QByteArrayView(m_buffer.constData(), m_at - m_buffer.constData()));
        m_at = m_buffer.data();
    }

    void startRow(quint64 row) {
        makeRoom(64);
        m_rowSize = digits(row, m_row);
        put("<row r=\"");
        put(QByteArrayView(m_row, m_rowSize));
        put("\">");
        m_nextColumn = 0;
    }
    void endRow() { raw("</row>"); }

    void number(int column, quint64 value, Style style = Style::Plain) {
        makeRoom(96);
        startCell(column, style);
        put("><v>");
        char text[20];
        put(QByteArrayView(text, digits(value, text)));
        put("</v></c>");
    }

    // A number given as its decimal text ("6.25").
    void decimal(int column, QByteArrayView digits) {
        makeRoom(96 + digits.size());
        startCell(column, Style::Plain);
        put("><v>");
        put(digits);
        put("</v></c>");
    }

    // Nothing for an empty text.
    void text(int column, QStringView text, Style style = Style::Plain) {
        if (text.isEmpty())
            return;
        // An escape takes at most 7 characters for one, each at most 3 bytes in UTF-8.
        makeRoom(21 * text.size() + 128);
        startCell(column, style);
        const bool spaced = text.front().isSpace() || text.back().isSpace();
        put(spaced ? QByteArrayView(" t=\"inlineStr\"><is><t xml:space=\"preserve\">")
                   : QByteArrayView(" t=\"inlineStr\"><is><t>"));
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return needsEscape(c.unicode()); }))
            m_at = m_encoder.appendToBuffer(m_at, escapedText(text));
        else
            m_at = m_encoder.appendToBuffer(m_at, text);
        put("</t></is></c>");
    }

private:
    static constexpr qsizetype kPiece = 256 * 1024;

    // Writes `value` at the end of `out` (room for 20 digits); returns how many.
    static int digits(quint64 value, char* out) {
        char reversed[20];
        int count = 0;
        do {
            reversed[count++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (int n = 0; n < count; ++n)
            out[n] = reversed[count - 1 - n];
        return count;
    }

    void makeRoom(qsizetype bytes) {
        if ((m_at - m_buffer.constData()) + bytes <= m_buffer.size())
            return;
        flush();
        if (bytes > m_buffer.size()) {
            m_buffer.resize(bytes);
            m_at = m_buffer.data();
        }
    }
    void put(QByteArrayView bytes) {
        std::memcpy(m_at, bytes.data(), std::size_t(bytes.size()));
        m_at += bytes.size();
    }
    void startCell(int column, Style style) {
        if (column == m_nextColumn) {
            put("<c");
        } else {
            put("<c r=\"");
            *m_at++ = char('A' + column); // the sheets have at most 26 columns
            put(QByteArrayView(m_row, m_rowSize));
            *m_at++ = '"';
        }
        m_nextColumn = column + 1;
        if (style != Style::Plain) {
            put(" s=\"");
            *m_at++ = char('0' + int(style));
            *m_at++ = '"';
        }
    }

    ZipWriter& m_zip;
    QByteArray m_buffer;
    char* m_at = nullptr;
    char m_row[20] = {};
    int m_rowSize = 0;
    int m_nextColumn = 0;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

// The start of a sheet up to its rows: print settings, the first row frozen, the columns.
QByteArray sheetStart(bool selected, const ColumnWidths& widths) {
    return kXmlHead + QByteArray("<worksheet xmlns=\"") + kMainNamespace + "\" xmlns:r=\"" +
           kRelationships +
           "\"><sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><sheetViews><sheetView " +
           (selected ? "tabSelected=\"1\" " : "") +
           "workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
           "state=\"frozen\"/><selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>"
           "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>" +
           widths.xml() + "<sheetData>";
}

// The end of a sheet: landscape A4, as wide as one page.
constexpr char kSheetEnd[] =
    "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
    "header=\"0.3\" footer=\"0.3\"/><pageSetup paperSize=\"9\" orientation=\"landscape\" "
    "fitToWidth=\"1\" fitToHeight=\"0\"/></worksheet>";

void writeHeaderRow(SheetWriter& sheet, const QStringList& names) {
    sheet.startRow(1);
    for (int c = 0; c < names.size(); ++c)
        sheet.text(c, names[c], Style::Bold);
    sheet.endRow();
}

void writeScalesSheet(ZipWriter& zip, const scoring::Explanations& texts) {
    const QStringList header = {QStringLiteral("Шкала"), QStringLiteral("Фактор"),
                                QStringLiteral("Полюса")};
    QList<QStringList> rows;
    ColumnWidths widths(3);
    for (int c = 0; c < header.size(); ++c)
        widths.fit(c, header[c].size());
    for (int k = 0; k < scoring::kScales; ++k) {
        const scoring::Explanation& entry = texts[std::size_t(k)];
        rows.append({QLatin1String(scoring::kScaleCodes[std::size_t(k)]), entry.title,
                     polesText(entry.poles)});
        for (int c = 0; c < 3; ++c)
            widths.fit(c, rows.last()[c].size());
    }
    zip.begin("xl/worksheets/sheet2.xml");
    SheetWriter sheet(zip);
    sheet.raw(sheetStart(false, widths));
    writeHeaderRow(sheet, header);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        sheet.startRow(quint64(r + 2));
        for (int c = 0; c < 3; ++c)
            sheet.text(c, rows[r][c]);
        sheet.endRow();
    }
    sheet.raw(kSheetEnd);
    sheet.flush();
}

// Excel's day number of a date: days from 30 December 1899, less one before March 1900, since
// Excel counts a 29 February 1900 that never was.
quint64 excelDay(const QDate& date) {
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    const qint64 days = date.toJulianDay() - epoch;
    return quint64(date < QDate(1900, 3, 1) ? days - 1 : days);
}

void writeXlsxFile(platform::OutputFile& out, const QStringList& files,
                   const scoring::Explanations& texts, QList<FileFailure>& failures,
                   QStringList* notes, const scoring::RecordFilter& filter) {
    ZipWriter zip([&out](QByteArrayView piece) {
        try {
            out.write(piece);
        } catch (const platform::Error& error) {
            throw OutputFailure{error.text()};
        }
    });
    zip.begin("[Content_Types].xml");
    zip.write(contentTypesXml());
    zip.begin("_rels/.rels");
    zip.write(packageRelationshipsXml());
    zip.begin("xl/workbook.xml");
    const QString resultsName = QStringLiteral("Результаты");
    zip.write(workbookXml(resultsName, QStringLiteral("Шкалы")));
    zip.begin("xl/_rels/workbook.xml.rels");
    zip.write(workbookRelationshipsXml());
    zip.begin("xl/styles.xml");
    zip.write(stylesXml());

    // The columns' widths come before the rows: a first reading measures them.
    const QStringList names = columnNames();
    ColumnWidths widths(kColumnCount);
    for (int c = 0; c < names.size(); ++c)
        widths.fit(c, names[c].size());
    forEachTableRecord(files,
                       [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
                           if (!filter.accepts(record))
                               return;
                           widths.fit(0, withoutFolder(files[file]).size());
                           widths.fit(1, digitCount(quint64(index)));
                           if (platform::dateFromDayCount(record.date))
                               widths.fit(2, 10);
                           const QString* fields[] = {&record.surname, &record.firstName,
                                                      &record.course, &record.group};
                           for (int t = 0; t < 4; ++t)
                               widths.fit(3 + t, fields[t]->size());
                           widths.fit(7, modeWord(record.manualEntry).size());
                           widths.fit(kFirstScaleColumn, 2);
                       });
    for (int k = 1; k < scoring::kScales; ++k)
        widths.fit(kFirstScaleColumn + k, 2);

    zip.begin("xl/worksheets/sheet1.xml", 1); // the large one: fast rather than small
    SheetWriter sheet(zip);
    sheet.raw(sheetStart(true, widths));
    writeHeaderRow(sheet, names);
    qint64 records = 0;
    QString fileCell;
    qsizetype cellOf = -1;
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
            sheet.startRow(quint64(records + 1));
            sheet.text(0, fileCell);
            sheet.number(1, quint64(index));
            if (const auto date = platform::dateFromDayCount(record.date)) {
                if (date->year() >= 1900)
                    sheet.number(2, excelDay(*date), Style::Date);
                else
                    sheet.text(2, date->toString(u"dd.MM.yyyy"));
            }
            sheet.text(3, record.surname);
            sheet.text(4, record.firstName);
            sheet.text(5, record.course);
            sheet.text(6, record.group);
            sheet.text(7, modeWord(record.manualEntry));
            for (int k = 0; k < scoring::kScales; ++k) {
                if (const quint8 sten = record.scales[std::size_t(k)]; isSten(sten))
                    sheet.number(kFirstScaleColumn + k, sten);
            }
            sheet.endRow();
        },
        notes);
    sheet.raw(kSheetEnd);
    sheet.flush();
    writeScalesSheet(zip, texts);
    zip.finish();
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

void writeSmallXlsx(const QString& path, const QString& name, const QStringList& header,
                    const QList<QStringList>& rows, const scoring::Explanations& texts) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    platform::OutputFile out(path);
    out.open();
    try {
        ZipWriter zip([&out](QByteArrayView piece) { out.write(piece); });
        zip.begin("[Content_Types].xml");
        zip.write(contentTypesXml());
        zip.begin("_rels/.rels");
        zip.write(packageRelationshipsXml());
        zip.begin("xl/workbook.xml");
        zip.write(workbookXml(name, QStringLiteral("Шкалы")));
        zip.begin("xl/_rels/workbook.xml.rels");
        zip.write(workbookRelationshipsXml());
        zip.begin("xl/styles.xml");
        zip.write(stylesXml());

        ColumnWidths widths(int(header.size()));
        for (const QStringList& row : QList<QStringList>{header} + rows) {
            for (int c = 0; c < row.size() && c < header.size(); ++c)
                widths.fit(c, row[c].size());
        }
        zip.begin("xl/worksheets/sheet1.xml");
        SheetWriter sheet(zip);
        sheet.raw(sheetStart(true, widths));
        writeHeaderRow(sheet, header);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            sheet.startRow(quint64(r + 2));
            for (int c = 0; c < rows[r].size() && c < header.size(); ++c) {
                if (number.match(rows[r][c]).hasMatch())
                    sheet.decimal(c, rows[r][c].toLatin1());
                else
                    sheet.text(c, rows[r][c]);
            }
            sheet.endRow();
        }
        sheet.raw(kSheetEnd);
        sheet.flush();
        writeScalesSheet(zip, texts);
        zip.finish();
    } catch (const OutputFailure& failure) {
        throw platform::Error(failure.reason);
    }
    out.commit();
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
        writeXlsxFile(out, files, texts, failures, notes, filter);
    } catch (const OutputFailure& failure) {
        throw platform::Error(failure.reason);
    } catch (const std::length_error&) {
        throw platform::Error(tooManyForXlsxText());
    }
    out.commit();
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
