#pragma once

#include "ui/chain_window.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The first window of an on-screen test: what the subject is asked to do. It hides the main
// window while it is open and shows it again when it closes.
class InstructionsWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit InstructionsWindow(QWidget* owner);

    void Button1Click(); // "Назад"
    void Button2Click(); // "Продолжить"

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void onCreated() override;
    void onClosed() override;
};
