#pragma once

#include "scoring/record_ref.h"
#include "scoring/types.h"

#include <QList>
#include <optional>

namespace scoring {

// The group of the group chart: the records of the chosen places, in place order. A free
// place and a place whose record cannot be read are left out altogether, so they neither
// lower the mean nor leave a gap in the group's list.
QList<ResultRecord> readGroup(const QList<RecordRef>& places);

// The mean profile of a group: scale by scale, the sum of the members' values divided by
// their number with the remainder dropped. Nothing for a group without members.
std::optional<ScaleProfile> meanProfile(const QList<ResultRecord>& members);

} // namespace scoring
