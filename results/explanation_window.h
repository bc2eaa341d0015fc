#pragma once

#include "ui/chain_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The explanation of one factor: its title, the names of its poles and a paragraph on each
// pole, taken from the shared explanation texts that the results window fills before opening
// it. It has no buttons; it is closed by its frame.
class ExplanationWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ExplanationWindow(QWidget* owner);

    QLabel* Label1 = nullptr;        // factor title
    QLineEdit* Edit1 = nullptr;      // pole-names line
    QPlainTextEdit* Memo1 = nullptr; // low pole
    QPlainTextEdit* Memo2 = nullptr; // high pole
    QLabel* Label2 = nullptr; // "Более подробная информация в прилагающемся файле"
    QLabel* Label3 = nullptr; // "Факторная теория" личности Дорвела

protected:
    void onCreated() override;
};
