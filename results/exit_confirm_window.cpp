#include "results/exit_confirm_window.h"

#include "ui/ui_kit.h"

#include <QLabel>
#include <QPushButton>

ExitConfirmWindow::ExitConfirmWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Выход"));
    setFixedClientSize(226, 104);
    m_warningLabel = ui::label(this, QStringLiteral("! Результаты не сохранены !"), 8, 8,
                               ui::font(13, ui::Bold), ui::kRed);
    m_warningLabel->setFixedSize(211, 16);
    m_leaveButton = ui::button(this, QStringLiteral("Выйти"), 32, 72, 65, 25);
    m_leaveButton->setObjectName(QStringLiteral("leaveButton"));
    m_stayButton = ui::button(this, QStringLiteral("Отмена"), 136, 72, 65, 25);
    m_stayButton->setObjectName(QStringLiteral("stayButton"));
    // Enter presses the button with the focus: as the window opens, that is the safe answer.
    m_stayButton->setFocus();
    on(m_leaveButton, &QPushButton::clicked, [this] { leave(); });
    on(m_stayButton, &QPushButton::clicked, [this] { stay(); });
}

void ExitConfirmWindow::leave() {
    m_leave = true;
    close();
}

void ExitConfirmWindow::stay() {
    m_leave = false;
    close();
}
