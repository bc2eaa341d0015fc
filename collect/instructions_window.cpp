#include "collect/instructions_window.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/texts.h"
#include "app/ui_kit.h"
#include "collect/subject_data_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TForm3::TForm3(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Инструкция"));
    setFixedClientSize(688, 453);

    Label1 = ui::label(this, QStringLiteral("Инструкция испытуемому:"), 176, 8, ui::font(24),
                       ui::kGreen);
    Memo1 = ui::memo(this, 8, 40, 665, 297, false);
    Memo1->setPlainText(app::resourceText(QStringLiteral("instruction.txt")));
    Button1 = ui::button(this, QStringLiteral("Назад"), 136, 376, 81, 25);
    Button2 = ui::button(this, QStringLiteral("Продолжить"), 424, 376, 81, 25);

    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    setTabOrder(Button1, Button2);
}

void TForm3::FormCreate() {
    app::hideWindow(app::state().Form1);
}

void TForm3::FormClose() {
    app::showWindow(app::state().Form1);
}

void TForm3::Button1Click() {
    close();
}

void TForm3::Button2Click() {
    app::openWindow(this, app::state().Form4);
}
