#pragma once

#include "ui/chain_window.h"

class QLabel;
class QPushButton;

// Asked by the results window before leaving unsaved results. Its answer is true for
// "Выйти"; "Отмена" and closing it by its frame both answer false (stay). "Отмена" has the
// keyboard focus as it opens, so Enter stays.
class ExitConfirmWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ExitConfirmWindow(QWidget* owner);

    // Whether the user chose to leave.
    bool answer() const { return m_leave; }

private:
    void leave();
    void stay();

    QLabel* m_warningLabel = nullptr;
    QPushButton* m_leaveButton = nullptr;
    QPushButton* m_stayButton = nullptr;
    bool m_leave = false;
};
