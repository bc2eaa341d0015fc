#include "scoring/stens.h"

#include <algorithm>

namespace scoring {

namespace {

constexpr int kColumns = 13; // raw 0 to 11, then "12 or more"

// The norms: the sten of each raw score, one row per scale in scale order.
constexpr quint8 kStens[kScales][kColumns] = {
    {1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10},     // MD
    {1, 1, 1, 1, 1, 2, 3, 4, 5, 7, 8, 9, 10},      // A
    {1, 1, 1, 3, 5, 7, 8, 10, 10, 10, 10, 10, 10}, // B
    {1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},      // C
    {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10},    // E
    {1, 1, 1, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10},    // F
    {1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},      // G
    {1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},      // H
    {1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},      // I
    {1, 1, 2, 4, 5, 7, 8, 9, 10, 10, 10, 10, 10},  // L
    {1, 1, 1, 1, 3, 4, 5, 6, 7, 8, 9, 10, 10},     // M
    {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10},    // N
    {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10},    // O
    {1, 1, 1, 1, 1, 2, 3, 5, 6, 7, 8, 9, 10},      // Q1
    {1, 1, 1, 2, 4, 5, 6, 7, 8, 9, 10, 10, 10},    // Q2
    {1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10},     // Q3
    {1, 1, 2, 3, 4, 5, 6, 6, 7, 8, 9, 10, 10},     // Q4
};

} // namespace

quint8 stenFor(int scale, int raw) {
    Q_ASSERT(scale >= 1 && scale <= kScales);
    const int row = std::clamp(scale, 1, kScales) - 1;
    const int column = std::clamp(raw, 0, kColumns - 1); // 12 or more share the last column
    return kStens[row][column];
}

ScaleProfile toStens(const RawScores& raw) {
    ScaleProfile profile{};
    for (int scale = 1; scale <= kScales; ++scale)
        profile[std::size_t(scale - 1)] = stenFor(scale, raw[std::size_t(scale - 1)]);
    return profile;
}

} // namespace scoring
