#pragma once

#include "ui/chain_window.h"

class QPlainTextEdit;

// "Описание методики": the methodological description of the questionnaire in one scrolling
// text box; a sizeable window that opens over the main window and closes by its frame.
class MethodWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit MethodWindow(QWidget* owner);

    QPlainTextEdit* Memo1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
