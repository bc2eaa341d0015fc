#include "collect/instructions_window.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "ui/texts.h"
#include "ui/ui_kit.h"
#include "collect/subject_data_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

InstructionsWindow::InstructionsWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Инструкция"));
    setFixedClientSize(688, 453);

    Label1 = ui::label(this, QStringLiteral("Инструкция испытуемому:"), 176, 8, ui::font(24),
                       ui::kGreen);
    Memo1 = ui::memo(this, 8, 40, 665, 297, false);
    Memo1->setPlainText(ui::resourceText(QStringLiteral("instruction.txt")));
    Button1 = ui::button(this, QStringLiteral("Назад"), 136, 376, 81, 25);
    Button2 = ui::button(this, QStringLiteral("Продолжить"), 424, 376, 81, 25);

    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    setTabOrder(Button1, Button2);
}

void InstructionsWindow::onCreated() {
    ui::hideWindow(app::state().Form1);
}

void InstructionsWindow::onClosed() {
    ui::showWindow(app::state().Form1);
}

void InstructionsWindow::Button1Click() {
    close();
}

void InstructionsWindow::Button2Click() {
    ui::openWindow(this, app::state().Form4);
}
