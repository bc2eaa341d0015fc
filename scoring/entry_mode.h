#pragma once

#include "scoring/types.h"

#include <QString>
#include <array>
#include <cstddef>

namespace scoring {

// The words for how a record's answers were taken, in every form the program writes them.
// A record's manual-entry byte is 0 for a test taken on screen and 1 for answers typed in from
// a paper sheet; any other byte (a damaged record) gets the form's words for an unknown way.
enum class ModeWords {
    TableCell,  // the tables' mode column: "test", "manual", empty
    ValueLabel, // the SPSS file's labels of that column: "тест", "вручную"
    LegendLine, // the comparison chart's legend: "тест пройден", "результаты введены вручную"
    ChartHeading, // the profile chart's heading: "Тест пройден", "результаты введены вручную"
    ReportLine, // the PDF report: "тест пройден на экране", "введены вручную с бланка"
};

namespace detail {
struct ModeWordsRow {
    const char* test; // UTF-8
    const char* manual;
    const char* unknown;
};
inline constexpr std::array<ModeWordsRow, 5> kModeWords = {{
    {"test", "manual", ""},
    {"тест", "вручную", ""},
    {"тест пройден", "результаты введены вручную", ""},
    {"Тест пройден", "результаты введены вручную", ""},
    {"тест пройден на экране", "введены вручную с бланка", "не указано"},
}};
} // namespace detail

// The words of `form` for a manual-entry byte, UTF-8; never null, empty where the form has no
// words for it.
constexpr const char* entryModeWords(quint8 manualEntry, ModeWords form) {
    const detail::ModeWordsRow& row = detail::kModeWords[std::size_t(form)];
    return manualEntry == 0 ? row.test : manualEntry == 1 ? row.manual : row.unknown;
}

// The same words as a text; a null text where the form has none.
inline QString entryModeText(quint8 manualEntry, ModeWords form) {
    const char* words = entryModeWords(manualEntry, form);
    return *words ? QString::fromUtf8(words) : QString();
}
inline QString entryModeText(EntryMode mode, ModeWords form) {
    return entryModeText(quint8(mode), form);
}

} // namespace scoring
