#include "graphics/texts.h"
#include "platform/dates.h"
#include "platform/paths.h"
#include "results/explanation_window.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "scoring/key.h"
#include "tests/render_windows.h"

#include <QDate>
#include <QFile>
#include <QLabel>

namespace {

// A subject who answered every statement, as the test window hands them to the results.
scoring::AnswerSheet answeredSheet() {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= scoring::kItems; ++item)
        sheet.setAnswer(item, quint8((item * 5) % 3 + 1));
    return sheet;
}

const scoring::Subject kSubject{QStringLiteral("Константинопольская"), QStringLiteral("Мария"),
                                QStringLiteral("2"), QStringLiteral("ПС-21")};

ResultsWindow* scoredResults() {
    auto* results = new ResultsWindow(nullptr, answeredSheet(), kSubject, scoring::EntryMode::Test);
    results->create();
    return results;
}

} // namespace

static const bool registered = [] {
    registerWindow(QStringLiteral("results"), [] { return scoredResults(); });
    registerWindow(QStringLiteral("results_saved"), [] {
        ResultsWindow* results = scoredResults();
        results->findChild<QLabel*>(QStringLiteral("savedLabel"))->show();
        return results;
    });
    registerWindow(QStringLiteral("results_unscored"), [] {
        // The key put aside for a moment: the window after a key error, saving and the chart off.
        const QString key = platform::resolvePath(scoring::kKeyFileName);
        const QString aside = key + QStringLiteral(".aside");
        QFile::rename(key, aside);
        auto* results =
            new ResultsWindow(nullptr, answeredSheet(), kSubject, scoring::EntryMode::Test);
        results->create();
        QFile::rename(aside, key);
        return results;
    });
    registerWindow(QStringLiteral("explanation"), [] {
        auto* window = new ExplanationWindow(nullptr, graphics::explanationOf(2));
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("explanation_c"), [] { // the longest line of poles
        auto* window = new ExplanationWindow(nullptr, graphics::explanationOf(4));
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("profile_chart"), [] {
        // The profile the results window scores for the subject, dated as it shows the test.
        ResultsWindow results(nullptr, answeredSheet(), kSubject, scoring::EntryMode::Test);
        results.create();
        auto* window = new ProfileChartWindow(nullptr, results.profile(), kSubject,
                                              platform::formatShortDate(QDate::currentDate()),
                                              scoring::EntryMode::Test);
        window->create();
        return window;
    });
    return true;
}();
