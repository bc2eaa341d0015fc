#pragma once

// The rule that turns the ink found in a row's three answer boxes into the row's answer. The
// figures come from a scanned answer sheet already straightened to its layout; every threshold
// is learned from the sheet itself (its empty boxes and its marks), so a darker or lighter scan,
// a pencil or a blue pen read alike. A row the rule is not sure of is doubtful, never guessed.

#include <QList>
#include <QString>

#include <array>

namespace scoring {

// The ink inside one box's interior (inside its printed outline). Darkness runs from 0 (the
// paper) to 1 (the page's printed black).
struct BoxInk {
    double ink = 0.0;    // mean darkness over the interior
    double cover = 0.0;  // share of the interior darker than half of the box's own strokes
    double peak = 0.0;   // darkness of the box's strokes (a high percentile of its pixels)
    double extent = 0.0; // share of the interior's side the strokes span (the longer way)
};

using RowInk = std::array<BoxInk, 3>; // boxes a, b, c

// What one sheet's boxes say about its paper and its marks.
struct PageInk {
    double emptyInk = 0.0;     // the ink of an empty box (the printed interior, dust, noise)
    double noise = 0.0;        // the spread of the empty boxes' ink
    double markInk = 0.0;      // the ink of the sheet's typical mark (0 when it has none)
    double markPeak = 0.0;     // the darkness of the sheet's typical strokes
    double markExtent = 0.0;   // how far the sheet's typical mark spans its box
    int marks = 0;             // boxes clearly marked (crosses, ticks, circles, filled boxes)
    double emptyLimit() const; // ink above this is not an empty box
    double markLimit() const;  // ink from this on is a mark, not a trace
};

// Learns the sheet's levels from all its rows (the empty boxes are most of them).
PageInk learnPageInk(const QList<RowInk>& rows);

// The answer of one row: 'a', 'b', 'c', '-' (no mark) or '?' (doubtful, with the reason).
struct RowReading {
    char answer = '-';
    QString reason; // for a doubtful row, in Russian
};

RowReading readRow(const RowInk& row, const PageInk& page);

// Learns the sheet and reads every row.
QList<RowReading> readRows(const QList<RowInk>& rows);

} // namespace scoring
