#include "export/stats_table.h"

#include "export/table_formats.h"
#include "export/table_rows.h"

#include <cmath>
#include <optional>

namespace exporting {

namespace {

// The columns in the order the table gives them.
constexpr const char* kHeader[] = {"scale", "n",   "mean", "sd",      "median",
                                   "min",   "max", "low",  "average", "high"};

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
    // The tiny lift keeps a half that the binary form holds a hair below (1.005) rounding up,
    // as it does on paper.
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

void writeStatsXlsx(const QString& path, const scoring::GroupStatistics& statistics,
                    const scoring::Explanations& texts) {
    QList<QStringList> rows;
    for (int k = 1; k <= scoring::kScales; ++k)
        rows.append(cellsOf(k, statistics.scale(k), u'.'));
    writeSmallXlsx(path, QStringLiteral("Статистика"), statsHeader().split(u';'), rows, texts);
}

} // namespace exporting
