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
TForm6* scoredResults(QWidget* owner = nullptr) {
    app::AppState& state = app::state();
    for (int item = 1; item <= 105; ++item)
        state.AnswerSheet.setAnswer(item, quint8((item * 5) % 3 + 1));
    state.setManualEntry(0);
    auto* results = new TForm6(owner);
    auto* subject = new TForm4(results);
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
    registerWindow(QStringLiteral("TForm6_results"), [] { return scoredResults(); });
    registerWindow(QStringLiteral("TForm6_results_saved"), [] {
        TForm6* results = scoredResults();
        results->Label51->show();
        return results;
    });
    registerWindow(QStringLiteral("TForm8_explanation"), [] {
        app::state().Explanation = results::explanationOf(2);
        auto* window = new TForm8(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("TForm9_profile_chart"), [] {
        auto* window = new TForm9(nullptr);
        TForm6* results = scoredResults(window);
        app::state().Form6 = results;
        window->create();
        app::state().Form6 = nullptr;
        return window;
    });
    return true;
}();
