#include "export/table_export.h"

#include "export/table_rows.h"
#include "platform/dates.h"
#include "platform/error.h"

#include <QIODevice>
#include <QStringEncoder>
#include <cstring>
#include <functional>

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

// Builds the table's lines in a buffer and hands it to the device in large pieces. Each row
// first makes room for its longest possible form, then is written straight into the buffer.
class TableWriter {
public:
    // Takes a piece of the table; throws WriteFailure when it cannot.
    using Sink = std::function<void(QByteArrayView)>;

    TableWriter(Sink out, char separator, qsizetype bufferSize = kFlushSize)
        : m_out(std::move(out)), m_separator(separator) {
        m_buffer.resize(bufferSize);
        m_at = m_buffer.data();
    }

    // Room for `bytes` more bytes, handing what is there to the device when it is short.
    void makeRoom(qsizetype bytes) {
        if (used() + bytes <= m_buffer.size())
            return;
        flush();
        if (bytes > m_buffer.size()) {
            m_buffer.resize(bytes);
            m_at = m_buffer.data();
        }
    }

    // The most bytes text(cell) can take: three per character (quotes doubled, UTF-8 of the
    // Basic Multilingual Plane), the two quotes and the apostrophe.
    static qsizetype textRoom(QStringView cell) { return 3 * cell.size() + 3; }

    void text(QStringView cell) {
        const bool guard = startsLikeFormula(cell);
        bool quote = false;
        for (const QChar c : cell) {
            const char16_t u = c.unicode();
            // A comma or a tab too: a spreadsheet's text import may split there as well.
            if (u == char16_t(m_separator) || u == u'"' || u == u'\r' || u == u'\n' || u == u',' ||
                u == u'\t') {
                quote = true;
                break;
            }
        }
        if (quote)
            *m_at++ = '"';
        if (guard)
            *m_at++ = '\'';
        if (!quote) {
            m_at = m_encoder.appendToBuffer(m_at, cell);
            return;
        }
        // Quotes inside are doubled.
        qsizetype from = 0;
        for (qsizetype at = cell.indexOf(u'"'); at >= 0; at = cell.indexOf(u'"', at + 1)) {
            m_at = m_encoder.appendToBuffer(m_at, cell.mid(from, at + 1 - from));
            *m_at++ = '"';
            from = at + 1;
        }
        m_at = m_encoder.appendToBuffer(m_at, cell.mid(from));
        *m_at++ = '"';
    }

    static constexpr qsizetype kNumberRoom = 20;
    void number(quint64 value) {
        char digits[kNumberRoom];
        int first = int(sizeof digits);
        do {
            digits[--first] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        raw(QByteArrayView(digits + first, qsizetype(sizeof digits) - first));
    }

    // Bytes written as they are: a cell already laid out, or the separator.
    void raw(QByteArrayView bytes) {
        if (bytes.isEmpty()) // an empty cell may have no data pointer at all
            return;
        std::memcpy(m_at, bytes.data(), std::size_t(bytes.size()));
        m_at += bytes.size();
    }
    void separator() { *m_at++ = m_separator; }
    void endLine() {
        *m_at++ = '\r';
        *m_at++ = '\n';
    }

    void flush() {
        if (used() > 0)
            m_out(QByteArrayView(m_buffer.constData(), used()));
        m_at = m_buffer.data();
    }

private:
    qsizetype used() const { return m_at - m_buffer.constData(); }

    Sink m_out;
    char m_separator;
    QByteArray m_buffer;
    char* m_at = nullptr;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

// The date cell: yyyy-mm-dd, empty for a day count that is not a date. Records of one file
// mostly share their day, so the last one is kept.
class DateCells {
public:
    QByteArrayView of(double days) {
        if (!m_valid || std::memcmp(&days, &m_days, sizeof days) != 0) {
            m_days = days;
            m_valid = true;
            m_size = 0;
            if (const auto date = platform::dateFromDayCount(days)) {
                // Years 1 to 9999 only, so always four digits.
                int year = 0, month = 0, day = 0;
                date->getDate(&year, &month, &day);
                const int parts[] = {year / 100, year % 100, -1, month, -1, day};
                for (const int part : parts) {
                    if (part < 0) {
                        m_cell[m_size++] = '-';
                    } else {
                        m_cell[m_size++] = char('0' + part / 10);
                        m_cell[m_size++] = char('0' + part % 10);
                    }
                }
            }
        }
        return QByteArrayView(m_cell, m_size);
    }

    static constexpr qsizetype kRoom = 10;

private:
    bool m_valid = false;
    double m_days = 0.0;
    char m_cell[kRoom] = {};
    qsizetype m_size = 0;
};

// A text cell on its own, for a cell that repeats on every row.
QByteArray cellBytes(const QString& text, char separator) {
    QByteArray bytes;
    TableWriter cell([&bytes](QByteArrayView piece) { bytes += piece; }, separator,
                     TableWriter::textRoom(text));
    cell.text(text);
    cell.flush();
    return bytes;
}

void writeRow(TableWriter& table, QByteArrayView fileCell, qint64 index, QByteArrayView dateCell,
              const scoring::ResultRecord& record) {
    const QString* texts[] = {&record.surname, &record.firstName, &record.course, &record.group};
    // File, number, date, mode, 17 stens and their separators, the line end; then the texts.
    qsizetype room = fileCell.size() + TableWriter::kNumberRoom + DateCells::kRoom + 6 +
                     scoring::kScales * 4 + 32;
    for (const QString* text : texts)
        room += TableWriter::textRoom(*text);
    table.makeRoom(room);

    table.raw(fileCell);
    table.separator();
    table.number(quint64(index));
    table.separator();
    table.raw(dateCell);
    for (const QString* text : texts) {
        table.separator();
        table.text(*text);
    }
    table.separator();
    table.raw(modeCell(record.manualEntry));
    for (const quint8 sten : record.scales) {
        table.separator();
        if (isSten(sten))
            table.number(sten);
    }
    table.endLine();
}

QList<FileFailure> writeAll(TableWriter::Sink out, const QStringList& files, char separator,
                            QStringList* notes, const scoring::RecordFilter& filter) {
    QList<FileFailure> failures;
    TableWriter table(std::move(out), separator);
    const QByteArray header = "\xEF\xBB\xBF" + tableHeader(separator).toLatin1() + "\r\n";
    table.makeRoom(header.size());
    table.raw(header);
    DateCells dates;
    qsizetype cellOf = -1;
    QByteArray fileCell;
    failures = forEachTableRecord(
        files,
        [&](qsizetype file, qint64 index, const scoring::ResultRecord& record) {
            if (!filter.accepts(record))
                return;
            if (file != cellOf) {
                fileCell = cellBytes(withoutFolder(files[file]), separator);
                cellOf = file;
            }
            writeRow(table, fileCell, index, dates.of(record.date), record);
        },
        notes);
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

QList<FileFailure> writeTable(QIODevice& out, const QStringList& files, char separator,
                              QStringList* notes, const scoring::RecordFilter& filter) {
    // The pointer overload: the device copies what it keeps, the buffer stays the writer's.
    const auto put = [&out](QByteArrayView piece) {
        if (out.write(piece.data(), piece.size()) != piece.size()) {
            const QString reason = out.errorString();
            throw WriteFailure{reason.isEmpty() ? QStringLiteral("I/O error") : reason};
        }
    };
    try {
        return writeAll(put, files, separator, notes, filter);
    } catch (const WriteFailure& failure) {
        throw platform::Error(failure.reason);
    }
}

QList<FileFailure> writeTable(platform::OutputFile& out, const QStringList& files, char separator,
                              QStringList* notes, const scoring::RecordFilter& filter) {
    const auto put = [&out](QByteArrayView piece) {
        try {
            out.write(piece);
        } catch (const platform::Error& error) {
            throw WriteFailure{error.text()};
        }
    };
    try {
        return writeAll(put, files, separator, notes, filter);
    } catch (const WriteFailure& failure) {
        throw platform::Error(failure.reason);
    }
}

} // namespace exporting
