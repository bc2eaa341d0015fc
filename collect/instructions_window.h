#pragma once

#include "ui/chain_window.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The first window of an on-screen test: what the subject is asked to do. It hides its owner,
// the main window, while it is open and shows it again when it closes.
class InstructionsWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit InstructionsWindow(QWidget* owner);

private:
    void goBack();           // "Назад"
    void enterSubjectData(); // "Продолжить"

    QLabel* m_heading = nullptr;
    QPlainTextEdit* m_instructionText = nullptr;
    QPushButton* m_backButton = nullptr;
    QPushButton* m_continueButton = nullptr;
};
