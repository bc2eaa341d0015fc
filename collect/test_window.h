#pragma once

#include "scoring/questionnaire_reader.h"
#include "scoring/types.h"
#include "ui/chain_window.h"

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class ClickLabel;
}

// The test itself: the statements one at a time, each answered by ticking one of three boxes
// and pressing "Продолжить". The window keeps the answers; after the last one it opens the
// results with them and the subject it was given. It hides its owner, the subject data window,
// while it is open and closes it when it closes.
class TestWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    TestWindow(QWidget* owner, const scoring::Subject& subject);

    // Ticks the box of an answer (1 a, 2 b, 3 c), hiding the other ticks: a click on a box or
    // the answer's key.
    void tickAnswer(int answer);

    // Statements answered so far; the statement on screen is this + 1.
    int answeredCount() const { return m_answeredCount; }
    bool questionnaireOpen() const { return m_reader.isOpen(); }
    const scoring::AnswerSheet& answers() const { return m_answers; }
    const scoring::Subject& subject() const { return m_subject; }

protected:
    void onCreated() override;
    void onClosed() override;
    // Answers by keyboard: 1/2/3 or the letters a/b/c (а/б/в) tick a box, Enter presses
    // "Продолжить".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void continueTest(); // "Продолжить" / "Закончить"
    // The answer whose tick is shown: 1, 2 or 3; 0 when none is.
    int tickedAnswer() const;
    void hideTicks();
    void showItem(const scoring::QuestionnaireItem& item);
    void openResults();

    QLabel* m_heading = nullptr;
    QLabel* m_statementNumber = nullptr; // number of the statement on screen
    QPlainTextEdit* m_statementText = nullptr;
    // Index answer - 1: a, b, c.
    std::array<ui::ClickLabel*, 3> m_answerBoxes{};
    std::array<QLabel*, 3> m_ticks{}; // over their boxes
    std::array<QPlainTextEdit*, 3> m_answerTexts{};
    QPushButton* m_continueButton = nullptr;

    scoring::Subject m_subject;
    scoring::AnswerSheet m_answers;
    scoring::QuestionnaireReader m_reader;
    int m_answeredCount = 0;
};
