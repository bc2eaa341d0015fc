#pragma once

#include "scoring/types.h"

#include <QString>
#include <array>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;

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
    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;       // results opened by the test
    TForm6* Form6Manual = nullptr; // results opened by manual entry
    TForm7* Form7 = nullptr;
    TForm8* Form8 = nullptr;
    TForm9* Form9 = nullptr;
    TForm10* Form10 = nullptr;
    TForm11* Form11 = nullptr;
    TForm12* Form12 = nullptr;
    TForm13* Form13 = nullptr;
    TForm14* Form14 = nullptr;

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
