#include "collect/instructions_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "tests/render_windows.h"

// The windows of the on-screen test; the subject data and test windows as their creation
// leaves them (today's date, statement 1 of the installed questionnaire).
static const bool registered = [] {
    registerWindow(QStringLiteral("TForm3_instructions"), [] { return new TForm3(nullptr); });
    registerWindow(QStringLiteral("TForm4_subject_data"), [] {
        auto* window = new TForm4(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("TForm5_test"), [] {
        auto* window = new TForm5(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("TForm5_test_answer_a_ticked"), [] {
        auto* window = new TForm5(nullptr);
        window->create();
        window->Image1Click();
        return window;
    });
    return true;
}();
