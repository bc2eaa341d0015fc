#include "export/table_export.h"

#include "export/record_reading.h"
#include "platform/dates.h"
#include "platform/error.h"

#include <QIODevice>
#include <QStringEncoder>
#include <cstring>

namespace exporting {

namespace {

constexpr const char* kColumns[] = {
    "file", "record", "date", "surname", "first_name", "course", "group", "mode", "MD",
    "A",    "B",      "C",    "E",       "F",          "G",      "H",     "I",    "L",
    "M",    "N",      "O",    "Q1",      "Q2",         "Q3",     "Q4"};

// The table goes out in pieces of about this size.
constexpr qsizetype kFlushSize = 1 << 20;

// A spreadsheet takes a cell beginning with one of these for a formula.
bool startsLikeFormula(QStringView text) {
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

// A failed write to the table's device, kept apart from the failures of reading a file.
struct WriteFailure {
    QString reason;
};

// Builds the table's lines in a buffer and hands it to the device in large pieces.
class TableWriter {
public:
    TableWriter(QIODevice& out, char separator) : m_out(out), m_separator(separator) {
        m_buffer.reserve(kFlushSize + 4096);
    }

    void text(QStringView cell) {
        const bool guard = startsLikeFormula(cell);
        bool quote = false;
        for (const QChar c : cell) {
            const char16_t u = c.unicode();
            if (u == m_separator || u == u'"' || u == u'\r' || u == u'\n') {
                quote = true;
                break;
            }
        }
        if (quote)
            m_buffer.append('"');
        if (guard)
            m_buffer.append('\'');
        if (quote) {
            // Quotes inside are doubled.
            qsizetype from = 0;
            for (qsizetype at = cell.indexOf(u'"'); at >= 0; at = cell.indexOf(u'"', at + 1)) {
                utf8(cell.mid(from, at + 1 - from));
                m_buffer.append('"');
                from = at + 1;
            }
            utf8(cell.mid(from));
            m_buffer.append('"');
        } else {
            utf8(cell);
        }
    }

    void number(quint64 value) {
        char digits[20];
        int first = int(sizeof digits);
        do {
            digits[--first] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        m_buffer.append(digits + first, qsizetype(sizeof digits) - first);
    }

    // Bytes written as they are: a cell already laid out, or the separator.
    void raw(QByteArrayView bytes) { m_buffer.append(bytes.data(), bytes.size()); }
    void separator() { m_buffer.append(m_separator); }

    void endLine() {
        m_buffer.append("\r\n", 2);
        if (m_buffer.size() >= kFlushSize)
            flush();
    }

    void flush() {
        if (m_buffer.isEmpty())
            return;
        if (m_out.write(m_buffer) != m_buffer.size()) {
            const QString reason = m_out.errorString();
            throw WriteFailure{reason.isEmpty() ? QStringLiteral("I/O error") : reason};
        }
        m_buffer.resize(0);
    }

    // The bytes of a text cell on its own, for a cell that repeats on every row.
    QByteArray cellBytes(QStringView cell) {
        QByteArray saved;
        saved.swap(m_buffer);
        m_buffer.reserve(4 * cell.size() + 8);
        text(cell);
        saved.swap(m_buffer);
        return saved;
    }

private:
    void utf8(QStringView text) {
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + m_encoder.requiredSpace(text.size()));
        char* end = m_encoder.appendToBuffer(m_buffer.data() + at, text);
        m_buffer.resize(end - m_buffer.constData());
    }

    QIODevice& m_out;
    char m_separator;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

// The date cell: yyyy-mm-dd, empty for a day count that is not a date. Records of one file
// mostly share their day, so the last one is kept.
class DateCells {
public:
    const QByteArray& of(double days) {
        if (!m_valid || std::memcmp(&days, &m_days, sizeof days) != 0) {
            const auto date = platform::dateFromDayCount(days);
            m_cell = date ? date->toString(Qt::ISODate).toLatin1() : QByteArray();
            m_days = days;
            m_valid = true;
        }
        return m_cell;
    }

private:
    bool m_valid = false;
    double m_days = 0.0;
    QByteArray m_cell;
};

QByteArrayView modeCell(quint8 manualEntry) {
    switch (manualEntry) {
    case 0:
        return "test";
    case 1:
        return "manual";
    default:
        return {};
    }
}

// The name of a file without its folder; the program writes folders with either slash.
QString withoutFolder(const QString& name) {
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return name.mid(slash + 1);
}

void writeRow(TableWriter& table, QByteArrayView fileCell, qint64 index, const QByteArray& dateCell,
              const scoring::ResultRecord& record) {
    table.raw(fileCell);
    table.separator();
    table.number(quint64(index));
    table.separator();
    table.raw(dateCell);
    for (const QString* text :
         {&record.surname, &record.firstName, &record.course, &record.group}) {
        table.separator();
        table.text(*text);
    }
    table.separator();
    table.raw(modeCell(record.manualEntry));
    for (const quint8 sten : record.scales) {
        table.separator();
        table.number(sten);
    }
    table.endLine();
}

QList<FileFailure> writeAll(QIODevice& out, const QStringList& files, char separator) {
    QList<FileFailure> failures;
    TableWriter table(out, separator);
    table.raw("\xEF\xBB\xBF");
    table.raw(tableHeader(separator).toLatin1());
    table.endLine();
    DateCells dates;
    for (const QString& file : files) {
        const QByteArray fileCell = table.cellBytes(withoutFolder(file));
        try {
            forEachRecord(file, [&](qint64 index, const scoring::ResultRecord& record) {
                writeRow(table, fileCell, index, dates.of(record.date), record);
            });
        } catch (const platform::Error& error) {
            failures.append({file, error.text()});
        }
    }
    table.flush();
    return failures;
}

} // namespace

QString tableHeader(char separator) {
    QString line;
    for (const char* column : kColumns) {
        if (!line.isEmpty())
            line += QChar::fromLatin1(separator);
        line += QLatin1String(column);
    }
    return line;
}

QList<FileFailure> writeTable(QIODevice& out, const QStringList& files, char separator) {
    try {
        return writeAll(out, files, separator);
    } catch (const WriteFailure& failure) {
        throw platform::Error(failure.reason);
    }
}

} // namespace exporting
