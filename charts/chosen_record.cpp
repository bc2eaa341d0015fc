#include "charts/chosen_record.h"

#include "app/app_state.h"
#include "platform/error.h"
#include "scoring/result_file.h"

namespace charts {

std::optional<scoring::ResultRecord> readChosenRecord(int place) {
    const app::select& chosen = app::state().place(place);
    if (chosen.FileName.isEmpty())
        return std::nullopt;
    try {
        app::state().CurrentRecord = scoring::readRecord(chosen.FileName, chosen.RecordIndex);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    return app::state().CurrentRecord;
}

} // namespace charts
