#include "collect/instructions_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "tests/render_windows.h"

// The windows of the on-screen test; the subject data and test windows as their creation
// leaves them (today's date, statement 1 of the installed questionnaire).
static const bool registered = [] {
    registerWindow(QStringLiteral("instructions"), [] { return new InstructionsWindow(nullptr); });
    registerWindow(QStringLiteral("subject_data"), [] {
        auto* window = new SubjectDataWindow(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("test"), [] {
        auto* window = new TestWindow(nullptr, scoring::Subject{});
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("test_answer_a_ticked"), [] {
        auto* window = new TestWindow(nullptr, scoring::Subject{});
        window->create();
        window->tickAnswer(1);
        return window;
    });
    return true;
}();
