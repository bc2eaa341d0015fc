#include "archive/selection.h"

namespace archive {

static QList<scoring::RecordRef> places(const Selection& selection, int first, int last) {
    QList<scoring::RecordRef> result;
    for (int place = first; place <= last; ++place)
        result << selection.place(place);
    return result;
}

int Selection::firstFreePlace(int first, int last) const {
    for (int number = first; number <= last; ++number) {
        if (place(number).isFree())
            return number;
    }
    return 0;
}

bool Selection::anyFilled(int first, int last) const {
    for (int number = first; number <= last; ++number) {
        if (!place(number).isFree())
            return true;
    }
    return false;
}

QList<scoring::RecordRef> Selection::comparisonPlaces() const {
    return places(*this, 1, kComparisonPlaces);
}

QList<scoring::RecordRef> Selection::groupPlaces() const {
    return places(*this, kComparisonPlaces + 1, kPlaces);
}

Selection& selection() {
    static Selection theSelection;
    return theSelection;
}

void resetSelection() {
    selection() = Selection();
}

} // namespace archive
