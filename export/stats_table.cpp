#include "export/stats_table.h"

#include "export/table_rows.h"

#include "platform/error.h"
#include "platform/files.h"

#include <QFile>
#include <QTemporaryFile>
#include <cmath>
#include <optional>
#include <xlsxwriter.h>

namespace exporting {

namespace {

// The columns in the order the table gives them.
constexpr const char* kHeader[] = {"scale", "n",   "mean", "sd",      "median",
                                   "min",   "max", "low",  "average", "high"};

// A figure to two decimals: the tiny lift keeps a half that the binary form holds a hair
// below (1.005) rounding up, as it does on paper.
double rounded(double value) {
    return std::floor(value * 100.0 + 0.5 + 1e-9) / 100.0;
}

// The cells of one scale's line, the decimals with `point`.
QStringList cellsOf(int scale, const scoring::ScaleStatistics& figures, QChar point) {
    auto decimals = [point](const std::optional<double>& value) {
        return value ? twoDecimals(*value, point) : QString();
    };
    auto whole = [](const std::optional<int>& value) {
        return value ? QString::number(*value) : QString();
    };
    return {QLatin1String(scoring::kScaleCodes[std::size_t(scale - 1)]),
            QString::number(figures.n),
            decimals(figures.mean),
            decimals(figures.sd),
            decimals(figures.median),
            whole(figures.min),
            whole(figures.max),
            QString::number(figures.low),
            QString::number(figures.average),
            QString::number(figures.high)};
}

struct XlsxFailure {
    QString reason;
};

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw XlsxFailure{QString::fromUtf8(lxw_strerror(error))};
}

void writeBook(const QByteArray& fileName, const scoring::GroupStatistics& statistics) {
    lxw_workbook* book = workbook_new(fileName.constData());
    if (book == nullptr)
        throw XlsxFailure{QStringLiteral("Memory allocation failed")};
    // The book is freed by closing it, on every path.
    struct Closer {
        lxw_workbook* book;
        bool closed = false;
        ~Closer() {
            if (!closed)
                lxw_workbook_free(book);
        }
    } closer{book};
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Статистика");
    if (sheet == nullptr)
        throw XlsxFailure{QStringLiteral("Cannot add the sheet")};
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* decimals = workbook_add_format(book);
    format_set_num_format(decimals, "0.00");

    for (int c = 0; c < int(std::size(kHeader)); ++c)
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), kHeader[c], bold));
    worksheet_freeze_panes(sheet, 1, 0);
    for (int k = 1; k <= scoring::kScales; ++k) {
        const scoring::ScaleStatistics figures = statistics.scale(k);
        const auto row = lxw_row_t(k);
        auto number = [&](int column, double value, lxw_format* format = nullptr) {
            check(worksheet_write_number(sheet, row, lxw_col_t(column), value, format));
        };
        check(worksheet_write_string(sheet, row, 0, scoring::kScaleCodes[std::size_t(k - 1)],
                                     nullptr));
        number(1, double(figures.n));
        const std::optional<double> decimalFigures[] = {figures.mean, figures.sd, figures.median};
        for (int c = 0; c < 3; ++c) {
            if (decimalFigures[c])
                number(2 + c, rounded(*decimalFigures[c]), decimals);
        }
        if (figures.min)
            number(5, *figures.min);
        if (figures.max)
            number(6, *figures.max);
        number(7, double(figures.low));
        number(8, double(figures.average));
        number(9, double(figures.high));
    }
    closer.closed = true;
    check(workbook_close(book));
}

} // namespace

QList<FileFailure> gatherStatistics(const QStringList& files, const scoring::RecordFilter& filter,
                                    scoring::GroupStatistics& into, QStringList* notes) {
    return forEachTableRecord(
        files,
        [&](qsizetype, qint64, const scoring::ResultRecord& record) {
            if (filter.accepts(record))
                into.add(record.scales);
        },
        notes);
}

QList<FileFailure> gatherSummary(const QStringList& files, const scoring::RecordFilter& filter,
                                 scoring::ClassSummary& into, QStringList* notes) {
    return forEachTableRecord(
        files,
        [&](qsizetype, qint64, const scoring::ResultRecord& record) {
            if (filter.accepts(record))
                into.add(record);
        },
        notes);
}

QString statsHeader(char separator) {
    QString line;
    for (const char* column : kHeader) {
        if (!line.isEmpty())
            line += QChar::fromLatin1(separator);
        line += QLatin1String(column);
    }
    return line;
}

QString twoDecimals(double value, QChar point) {
    const auto hundredths = qint64(std::floor(std::abs(value) * 100.0 + 0.5 + 1e-9));
    QString text = QString::number(hundredths / 100) + point +
                   QString::number(hundredths % 100).rightJustified(2, u'0');
    if (value < 0 && hundredths != 0)
        text.prepend(u'-');
    return text;
}

QByteArray statsCsv(const scoring::GroupStatistics& statistics, char separator) {
    const QChar point = separator == ';' ? QChar(u',') : QChar(u'.');
    QString table = statsHeader(separator) + QStringLiteral("\r\n");
    for (int k = 1; k <= scoring::kScales; ++k)
        table += cellsOf(k, statistics.scale(k), point).join(QChar::fromLatin1(separator)) +
                 QStringLiteral("\r\n");
    return "\xEF\xBB\xBF" + table.toUtf8();
}

void writeStatsXlsx(const QString& path, const scoring::GroupStatistics& statistics) {
    QByteArray bytes;
    try {
        // The library writes to a file name: the book is made aside, then saved whole.
        QTemporaryFile made;
        if (!made.open())
            throw XlsxFailure{made.errorString()};
        made.close();
        writeBook(QFile::encodeName(made.fileName()), statistics);
        if (!made.open())
            throw XlsxFailure{made.errorString()};
        bytes = made.readAll();
        if (made.error() != QFileDevice::NoError)
            throw XlsxFailure{made.errorString()};
    } catch (const XlsxFailure& failure) {
        throw platform::Error(platform::cannotCreateText(path, failure.reason));
    }
    platform::saveWholeFile(path, bytes);
}

} // namespace exporting
