#pragma once

#include "ui/chain_window.h"
#include "collect/questionnaire_reader.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class ClickLabel;
}

// The test itself: the statements one at a time, each answered by ticking one of three boxes
// and pressing "Продолжить". The answers go into the shared AnswerSheet; after the last one
// the results window opens.
class TestWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit TestWindow(QWidget* owner);

    void Image1Click();  // box of answer a
    void Image2Click();  // box of answer b
    void Image3Click();  // box of answer c
    void Button1Click(); // "Продолжить" / "Закончить"

    // Statements answered so far; the statement on screen is this + 1.
    int answeredCount() const { return m_answeredCount; }
    bool questionnaireOpen() const { return m_reader.isOpen(); }

    QLabel* Label1 = nullptr;         // heading
    QLabel* Label2 = nullptr;         // number of the statement on screen
    QPlainTextEdit* Memo1 = nullptr;  // statement
    QPlainTextEdit* Memo2 = nullptr;  // answer a
    QPlainTextEdit* Memo3 = nullptr;  // answer b
    QPlainTextEdit* Memo4 = nullptr;  // answer c
    ui::ClickLabel* Image1 = nullptr; // box a
    ui::ClickLabel* Image2 = nullptr; // box b
    ui::ClickLabel* Image3 = nullptr; // box c
    QLabel* Image4 = nullptr;         // tick a
    QLabel* Image5 = nullptr;         // tick b
    QLabel* Image6 = nullptr;         // tick c
    QPushButton* Button1 = nullptr;

protected:
    void onCreated() override;
    void onClosed() override;
    // Answers by keyboard: 1/2/3 or the letters a/b/c (а/б/в) tick a box, Enter presses
    // "Продолжить".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void answerBoxClick(int answer);
    // The answer whose tick is shown: 1, 2 or 3; 0 when none is.
    int tickedAnswer() const;
    void hideTicks();
    void showItem(const collect::QuestionnaireItem& item);
    void openResults();

    collect::QuestionnaireReader m_reader;
    int m_answeredCount = 0;
};
