#include "app/app_state.h"
#include "collect/subject_data_window.h"
#include "results/explanation_window.h"
#include "results/explanations.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "tests/render_windows.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// A subject answered every statement and typed in their data; the results window is created
// over the subject data window as the test creates it.
ResultsWindow* scoredResults(QWidget* owner = nullptr) {
    app::AppState& state = app::state();
    for (int item = 1; item <= 105; ++item)
        state.AnswerSheet.setAnswer(item, quint8((item * 5) % 3 + 1));
    state.setManualEntry(0);
    auto* results = new ResultsWindow(owner);
    auto* subject = new SubjectDataWindow(results);
    subject->Edit1->setText(QStringLiteral("Константинопольская"));
    subject->Edit2->setText(QStringLiteral("Мария"));
    subject->Edit3->setText(QStringLiteral("2"));
    subject->Edit4->setText(QStringLiteral("ПС-21"));
    state.Form4 = subject;
    results->create();
    state.Form4 = nullptr;
    return results;
}

} // namespace

static const bool registered = [] {
    registerWindow(QStringLiteral("results"), [] { return scoredResults(); });
    registerWindow(QStringLiteral("results_saved"), [] {
        ResultsWindow* results = scoredResults();
        results->Label51->show();
        return results;
    });
    registerWindow(QStringLiteral("explanation"), [] {
        app::state().Explanation = results::explanationOf(2);
        auto* window = new ExplanationWindow(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("profile_chart"), [] {
        auto* window = new ProfileChartWindow(nullptr);
        ResultsWindow* results = scoredResults(window);
        app::state().Form6 = results;
        window->create();
        app::state().Form6 = nullptr;
        return window;
    });
    return true;
}();
