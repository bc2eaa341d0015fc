#pragma once

#include "scoring/explanations.h"
#include "ui/chain_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The explanation of one factor: its title, the names of its poles and a paragraph on each
// pole. It has no buttons; it is closed by its frame.
class ExplanationWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    ExplanationWindow(QWidget* owner, const scoring::Explanation& texts);

private:
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_polesField = nullptr;
    QPlainTextEdit* m_lowPoleText = nullptr;
    QPlainTextEdit* m_highPoleText = nullptr;
    QLabel* m_moreInfoLabel = nullptr; // "Более подробная информация в прилагающемся файле"
    QLabel* m_theoryNameLabel = nullptr; // "Факторная теория" личности Дорвела
};
