#include "scoring/group_statistics.h"

#include "platform/dates.h"

#include <algorithm>
#include <cmath>

namespace scoring {

namespace {

bool sameText(const QString& wanted, const QString& stored) {
    return wanted.trimmed().compare(stored.trimmed(), Qt::CaseInsensitive) == 0;
}

void addDistinct(QStringList& list, const QString& text) {
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty() && !list.contains(trimmed, Qt::CaseInsensitive))
        list.append(trimmed);
}

// Alphabetical order as a reader expects it: letter case aside, and «ё» beside «е».
QString sortKey(const QString& name) {
    QString key = name.toCaseFolded();
    key.replace(u'ё', u'е');
    return key;
}

QStringList sortedNames(QStringList names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
    return names;
}

} // namespace

StenBand stenBand(quint8 sten) {
    if (sten >= 1 && sten <= 3)
        return StenBand::Low;
    if (sten >= 4 && sten <= 7)
        return StenBand::Average;
    if (sten >= 8 && sten <= 10)
        return StenBand::High;
    return StenBand::Damaged;
}

bool RecordFilter::accepts(const ResultRecord& record) const {
    if (group && !sameText(*group, record.group))
        return false;
    if (course && !sameText(*course, record.course))
        return false;
    if (from || to) {
        const std::optional<QDate> date = platform::dateFromDayCount(record.date);
        if (!date || (from && *date < *from) || (to && *date > *to))
            return false;
    }
    return true;
}

void GroupStatistics::add(const ScaleProfile& stens) {
    ++m_records;
    for (std::size_t k = 0; k < stens.size(); ++k) {
        if (stenBand(stens[k]) != StenBand::Damaged)
            ++m_counts[k][stens[k] - 1u];
    }
}

ScaleStatistics GroupStatistics::scale(int scale) const {
    const std::array<qint64, 10>& counts = m_counts[std::size_t(scale - 1)];
    ScaleStatistics figures;
    qint64 sum = 0;
    for (int sten = 1; sten <= 10; ++sten) {
        const qint64 count = counts[std::size_t(sten - 1)];
        if (count == 0)
            continue;
        figures.n += count;
        sum += sten * count;
        if (!figures.min)
            figures.min = sten;
        figures.max = sten;
        switch (stenBand(quint8(sten))) {
        case StenBand::Low:
            figures.low += count;
            break;
        case StenBand::Average:
            figures.average += count;
            break;
        default:
            figures.high += count;
            break;
        }
    }
    if (figures.n == 0)
        return figures;
    const double mean = double(sum) / double(figures.n);
    figures.mean = mean;
    if (figures.n >= 2) {
        double squares = 0;
        for (int sten = 1; sten <= 10; ++sten)
            squares += double(counts[std::size_t(sten - 1)]) * (sten - mean) * (sten - mean);
        figures.sd = std::sqrt(squares / double(figures.n - 1));
    }
    // The stens at the two middle places of the sorted set (one place for an odd n).
    auto stenAt = [&counts](qint64 place) {
        for (int sten = 1; sten <= 10; ++sten) {
            place -= counts[std::size_t(sten - 1)];
            if (place < 0)
                return sten;
        }
        return 10;
    };
    figures.median = (stenAt((figures.n - 1) / 2) + stenAt(figures.n / 2)) / 2.0;
    return figures;
}

void ClassSummary::add(const ResultRecord& record) {
    m_statistics.add(record.scales);
    addDistinct(m_groups, record.group);
    addDistinct(m_courses, record.course);
    if (const std::optional<QDate> date = platform::dateFromDayCount(record.date)) {
        if (!m_first || *date < *m_first)
            m_first = date;
        if (!m_last || *date > *m_last)
            m_last = date;
    }
    const QString name = (record.surname.trimmed() + u' ' + record.firstName.trimmed()).trimmed();
    for (std::size_t k = 0; k < record.scales.size(); ++k) {
        switch (stenBand(record.scales[k])) {
        case StenBand::Low:
            m_low[k].append(name);
            break;
        case StenBand::High:
            m_high[k].append(name);
            break;
        default:
            break;
        }
    }
}

QStringList ClassSummary::lowStudents(int scale) const {
    return sortedNames(m_low[std::size_t(scale - 1)]);
}

QStringList ClassSummary::highStudents(int scale) const {
    return sortedNames(m_high[std::size_t(scale - 1)]);
}

} // namespace scoring
