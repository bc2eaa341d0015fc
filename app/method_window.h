#pragma once

#include "ui/chain_window.h"

class QPlainTextEdit;

// "Описание методики": the methodological description of the questionnaire in one scrolling
// text box; a sizeable window that opens over the main window and closes by its frame.
class MethodWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit MethodWindow(QWidget* owner);

    // The text box that shows the description.
    QPlainTextEdit* textBox() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* m_text = nullptr;
};
