#include "scoring/group_profile.h"

namespace scoring {

QList<ResultRecord> readGroup(const QList<RecordRef>& places) {
    QList<ResultRecord> members;
    for (const RecordRef& place : places) {
        if (std::optional<ResultRecord> record = readChosenRecord(place))
            members << *record;
    }
    return members;
}

std::optional<ScaleProfile> meanProfile(const QList<ResultRecord>& members) {
    if (members.isEmpty())
        return std::nullopt;
    std::array<qint64, kScales> sums{};
    for (const ResultRecord& member : members) {
        for (std::size_t k = 0; k < sums.size(); ++k)
            sums[k] += member.scales[k];
    }
    ScaleProfile mean{};
    for (std::size_t k = 0; k < sums.size(); ++k)
        mean[k] = quint8(sums[k] / members.size()); // values are never negative: rounds down
    return mean;
}

} // namespace scoring
