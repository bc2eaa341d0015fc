#pragma once

#include "scoring/types.h"

#include <QString>
#include <array>

class MainWindow;
class MethodWindow;
class InstructionsWindow;
class SubjectDataWindow;
class TestWindow;
class ResultsWindow;
class ExitConfirmWindow;
class ExplanationWindow;
class ProfileChartWindow;
class ManualEntryWindow;
class ArchiveWindow;
class ComparisonChartWindow;
class GroupChartWindow;
class AboutWindow;

namespace app {

// One chosen subject of the archive: a record of a result file.
struct select {
    QString FileName;    // full path of the result file; empty when the place is free
    qint32 RecordIndex = 0; // record number in that file, from 0
};

constexpr int kPlaces = 35;          // places 1 to 35
constexpr int kComparisonPlaces = 5; // places 1 to 5; 6 to 35 are the group places

// The texts the explanation window shows, filled by the results window before it opens one.
struct ExplanationTexts {
    QString title;
    QString poles;
    QString low;
    QString high;
};

// Everything the windows hand to one another. Windows pass nothing as parameters: they read
// and write these values, and reach one another through the window references. A reference
// is set by the opener while the window exists and cleared when it is destroyed.
struct AppState {
    // Window references.
    MainWindow* Form1 = nullptr;
    MethodWindow* Form2 = nullptr;
    InstructionsWindow* Form3 = nullptr;
    SubjectDataWindow* Form4 = nullptr;
    TestWindow* Form5 = nullptr;
    ResultsWindow* Form6 = nullptr;       // results opened by the test
    ResultsWindow* Form6Manual = nullptr; // results opened by manual entry
    ExitConfirmWindow* Form7 = nullptr;
    ExplanationWindow* Form8 = nullptr;
    ProfileChartWindow* Form9 = nullptr;
    ManualEntryWindow* Form10 = nullptr;
    ArchiveWindow* Form11 = nullptr;
    ComparisonChartWindow* Form12 = nullptr;
    GroupChartWindow* Form13 = nullptr;
    AboutWindow* Form14 = nullptr;

    // Shared values.
    scoring::AnswerSheet AnswerSheet;
    scoring::ResultRecord CurrentRecord; // its manualEntry is ManualEntry
    scoring::ScaleProfile Profile{};     // the current ScaleProfile
    quint8 SavedFlag = 0;
    quint8 ExitAnswer = 0; // 1 leave, 0 stay
    std::array<select, kPlaces> Selection{}; // index place - 1
    ExplanationTexts Explanation;

    quint8 manualEntry() const { return CurrentRecord.manualEntry; }
    void setManualEntry(quint8 value) { CurrentRecord.manualEntry = value; }
    select& place(int number) { return Selection[std::size_t(number - 1)]; }
};

// The process-wide state.
AppState& state();

// Back to the values of program start (tests use it between cases).
void resetState();

} // namespace app
