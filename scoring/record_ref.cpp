#include "scoring/record_ref.h"

#include "platform/error.h"
#include "scoring/result_file.h"

namespace scoring {

std::optional<ResultRecord> readChosenRecord(const RecordRef& chosen) {
    if (chosen.isFree())
        return std::nullopt;
    try {
        return readRecord(chosen.fileName, chosen.recordIndex);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

} // namespace scoring
