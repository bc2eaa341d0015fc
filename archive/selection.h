#pragma once

#include "scoring/record_ref.h"

#include <QList>
#include <array>

namespace archive {

constexpr int kComparisonPlaces = 5; // places 1 to 5, drawn by the comparison chart
constexpr int kGroupPlaces = 30;     // places 6 to 35, averaged by the group chart
constexpr int kPlaces = kComparisonPlaces + kGroupPlaces;

// The subjects chosen in the archive, place by place. It outlives the archive window: places
// filled during one opening are there again at the next, until the program ends.
class Selection {
public:
    // Place 1 to 35.
    scoring::RecordRef& place(int number) { return m_places[std::size_t(number - 1)]; }
    const scoring::RecordRef& place(int number) const { return m_places[std::size_t(number - 1)]; }

    // The lowest free place of first..last, or 0 when all are filled.
    int firstFreePlace(int first, int last) const;
    // Whether any place of first..last holds a subject.
    bool anyFilled(int first, int last) const;

    // Places 1 to 5 and 6 to 35 in place order, free ones included, as the charts take them.
    QList<scoring::RecordRef> comparisonPlaces() const;
    QList<scoring::RecordRef> groupPlaces() const;

private:
    std::array<scoring::RecordRef, kPlaces> m_places{};
};

// The program's one Selection.
Selection& selection();

// Every place free again, as at program start (tests use it between cases).
void resetSelection();

} // namespace archive
