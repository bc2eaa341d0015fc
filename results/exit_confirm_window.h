#pragma once

#include "ui/chain_window.h"

class QPushButton;

// Asked by the results window before leaving unsaved results. The answer is in the shared
// state: 1 leave, 0 stay (also when the window is closed by its frame).
class ExitConfirmWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ExitConfirmWindow(QWidget* owner);

    void Button1Click(); // "Выйти"
    void Button2Click(); // "Отмена"

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void onCreated() override;
};
