#include "charts/chosen_record.h"

#include "app/app_state.h"
#include "platform/error.h"
#include "results/chart_geometry.h"
#include "scoring/result_file.h"

#include <QLabel>

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

QLabel* chartImage(QWidget* window) {
    auto* image = new QLabel(window);
    image->setGeometry(0, 0, chart::kPictureSize, chart::kPictureSize);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

} // namespace charts
