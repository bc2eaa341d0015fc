#include "scoring/group_profile.h"

#include "platform/error.h"
#include "platform/files.h"
#include "scoring/result_file.h"

#include <map>
#include <optional>

namespace scoring {

QList<ResultRecord> readGroup(const QList<RecordRef>& places) {
    // A group mostly comes from one or two files: each file is opened once for all its places
    // (a file that cannot be opened stays unopened for the rest). A place whose record cannot
    // be read is left out, as readChosenRecord leaves it out.
    std::map<QString, std::optional<platform::FileHandle>> files;
    QList<ResultRecord> members;
    for (const RecordRef& place : places) {
        if (place.isFree())
            continue;
        auto [opened, isNew] = files.try_emplace(place.fileName);
        if (isNew) {
            try {
                opened->second = platform::openFile(place.fileName, platform::Access::ReadOnly);
            } catch (const platform::Error&) {
            }
        }
        if (!opened->second)
            continue;
        try {
            members << readRecord(*opened->second, place.recordIndex, place.fileName);
        } catch (const platform::Error&) {
        }
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
