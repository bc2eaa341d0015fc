#pragma once

#include "platform/files.h"
#include "scoring/types.h"
#include "ui/chain_window.h"

#include <array>
#include <chrono>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
namespace ui {
class ClickLabel;
}

// The results window: the item scores, raw totals and stens of the subject just tested or
// entered by hand, with links to the factor explanations, saving, the profile chart and the
// PDF report.
// Its owner is the window that opened it (the test window or the manual entry window): the
// results window hides it when created and closes it when it closes itself.
class ResultsWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    ResultsWindow(QWidget* owner, const scoring::AnswerSheet& answers,
                  const scoring::Subject& subject, scoring::EntryMode mode);

    // Whether the sheet was scored when the window was created (the key could be read).
    bool scored() const { return m_scored; }
    // Whether the result has been saved to the result file.
    bool saved() const { return m_saved; }
    // The stens shown; all 0 until the sheet is scored.
    const scoring::ScaleProfile& profile() const { return m_profile; }
    // How long a save waits while another computer saves into the same result file.
    void setSaveWaitLimit(std::chrono::milliseconds limit) { m_saveWaitLimit = limit; }

protected:
    void onCreated() override;

private:
    void buildSubjectBox();
    void buildRawScoreBox();
    void buildStenBox();
    void showScores();

    void openProfileChart();
    void leave();
    void saveResult();
    // Saves the subject's report as a PDF file the user names.
    void saveReport();
    // Opens the explanation of scale k (1 for MD to 17 for Q4).
    void showExplanation(int scale);

    const scoring::AnswerSheet m_answers;
    const scoring::Subject m_subject;
    const scoring::EntryMode m_mode;
    scoring::ScaleProfile m_profile{};
    bool m_scored = false;
    bool m_saved = false;
    std::chrono::milliseconds m_saveWaitLimit = platform::LockWait{}.limit;

    QLabel* m_titleLabel = nullptr; // "Результаты:"

    QFrame* m_subjectBox = nullptr;
    std::array<QLabel*, 5> m_subjectCaptions{}; // "Дата:", "Фамилия:", "Имя:", "Курс:", "Группа:"
    QLabel* m_dateValue = nullptr;
    QLabel* m_surnameValue = nullptr;
    QLabel* m_firstNameValue = nullptr;
    QLabel* m_courseValue = nullptr;
    QLabel* m_groupValue = nullptr;

    QFrame* m_rawScoreBox = nullptr;
    QLabel* m_rawScoreTitle = nullptr; // "Сырые оценки:"
    // Column c holds the scores of items 17 (c - 1) + 1 to 17 c, one per line.
    std::array<QPlainTextEdit*, 7> m_itemColumns{};
    QPlainTextEdit* m_rawTotalsColumn = nullptr; // line k: the raw total of scale k

    QFrame* m_stenBox = nullptr;
    QFrame* m_stenRowsBox = nullptr;
    QLabel* m_stenTitle = nullptr;                                // "Стандартные"
    QLabel* m_stenSubtitle = nullptr;                             // "(Стены)"
    std::array<ui::ClickLabel*, scoring::kScales> m_scaleLinks{}; // MD to Q4
    std::array<QLabel*, scoring::kScales> m_stenValues{};
    std::array<QLabel*, 2> m_clickHint{}; // "Клик для подробной" / "информации"

    QLabel* m_savedLabel = nullptr; // "Сохранено в базе"
    QPushButton* m_chartButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_reportButton = nullptr; // "Отчёт PDF"
};
