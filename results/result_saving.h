#pragma once

#include "platform/files.h"
#include "scoring/types.h"

#include <chrono>

namespace results {

// Saves a subject's result the one way every window saves it: the record of today, the texts
// cut to what the record keeps, appended to the day's result file. Computers of a class save
// into one file by turns: while another one saves, this save waits with the busy cursor, the
// windows painted but taking no clicks or keys; still refused after `waitLimit`, it throws
// "I/O error %d" and writes nothing.
void saveTodaysResult(const scoring::Subject& subject, const scoring::ScaleProfile& profile,
                      scoring::EntryMode mode,
                      std::chrono::milliseconds waitLimit = platform::LockWait{}.limit);

} // namespace results
