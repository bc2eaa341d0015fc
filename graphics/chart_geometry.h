#pragma once

#include <array>

// The geometry every chart shares: the 505 x 505 background picture, its 17 scale rows and ten
// sten columns, the markers, and the labels drawn beside each row. The background picture is
// made from these same constants, so picture and drawing cannot disagree.
namespace chart {

constexpr int kPictureSize = 505;

// Row of scale k (1 for MD to 17 for Q4).
constexpr int rowY(int scale) {
    return 10 + 28 * scale;
}
// Column of sten s (1 to 10); any value plots, 0 lies left of the grid.
constexpr int stenX(int sten) {
    return 110 + 25 * sten;
}

// A marker is the outline of a circle in the box (x - 2, y - 2) to (x + 3, y + 3), right and
// bottom edges exclusive: 5 x 5 pixels.
constexpr int kMarkerOffset = 2;
constexpr int kMarkerSize = 5;

constexpr int kCodeLeft = 475; // the scale code, top at rowY - 4
constexpr int kCodeRaise = 4;
constexpr int kHighPoleLeft = 360;  // the high-pole label starts at the sten-10 column
constexpr int kPoleLabelRaise = 16; // pole labels stand with their top at rowY - 16

struct RowLabels {
    const char* code;    // UTF-8
    const char* lowPole; // UTF-8, ends left of the sten-1 column
    int lowPoleLeft;
    const char* highPole; // UTF-8
};

inline constexpr std::array<RowLabels, 17> kRows = {{
    {"MD", "недовольство собой", 20, "переоценка возможностей"},
    {"A", "замкнутость", 57, "открытость"},
    {"B", "огранич.мышление", 26, "разв.мышление"},
    {"C", "эмоц.неустойчивость", 15, "эмоц.стабильность"},
    {"E", "податливость", 52, "независимость"},
    {"F", "озабоченность", 50, "беспечность"},
    {"G", "беспринципность", 36, "сознательность"},
    {"H", "застенчивость", 49, "смелость"},
    {"I", "твердость", 74, "чувственность"},
    {"L", "доверчивость", 58, "подозрительность"},
    {"M", "практичность", 58, "богемность"},
    {"N", "простота", 78, "утонченность"},
    {"O", "спок.самоуверенность", 5, "склонность к чувству вины"},
    {"Q1", "консерватизм", 53, "радикализм"},
    {"Q2", "зависимость от группы", 4, "самостоятельность"},
    {"Q3", "слабая воля", 63, "сильная воля"},
    {"Q4", "флегматичность", 43, "внутр.напряженность"},
}};

} // namespace chart
