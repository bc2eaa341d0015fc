#include "results/result_saving.h"

#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "ui/ui_kit.h"

#include <QCoreApplication>
#include <QDate>

namespace results {

void saveTodaysResult(const scoring::Subject& subject, const scoring::ScaleProfile& profile,
                      scoring::EntryMode mode, std::chrono::milliseconds waitLimit) {
    const QDate today = QDate::currentDate();
    const ui::BusyCursor busy;
    platform::LockWait wait;
    wait.limit = waitLimit;
    wait.whileWaiting = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    scoring::appendRecord(scoring::resultFileName(today),
                          scoring::buildResultRecord(subject, profile, today, mode), wait);
}

} // namespace results
