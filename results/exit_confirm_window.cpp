#include "results/exit_confirm_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPushButton>

ExitConfirmWindow::ExitConfirmWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Выход"));
    setFixedClientSize(226, 104);
    QLabel* warning = ui::label(this, QStringLiteral("! Результаты не сохранены !"), 8, 8,
                                ui::font(13, ui::Bold), ui::kRed);
    warning->setFixedSize(211, 16);
    Button1 = ui::button(this, QStringLiteral("Выйти"), 32, 72, 65, 25);
    Button2 = ui::button(this, QStringLiteral("Отмена"), 136, 72, 65, 25);
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
}

void ExitConfirmWindow::onCreated() { app::state().ExitAnswer = 0; }

void ExitConfirmWindow::Button1Click() {
    app::state().ExitAnswer = 1;
    close();
}

void ExitConfirmWindow::Button2Click() {
    app::state().ExitAnswer = 0;
    close();
}
