#include "collect/subject_data_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"
#include "collect/instructions_window.h"
#include "collect/test_window.h"
#include "platform/dates.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SubjectDataWindow::SubjectDataWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedClientSize(688, 453);
    ui::bevel(this, 120, 88, 425, 233);

    Label1 = ui::label(this, QStringLiteral("Введите данные:"), 240, 40, ui::font(19), ui::kTeal);
    Label2 =
        ui::label(this, QStringLiteral("Сегодня  "), 136, 104, ui::font(16, ui::Bold), ui::kBlue);

    const QFont caption = ui::font(19);
    Label3 = ui::label(this, QStringLiteral("Фамилия"), 200, 152, caption);
    Label4 = ui::label(this, QStringLiteral("Имя"), 200, 200, caption);
    Label5 = ui::label(this, QStringLiteral("Курс"), 200, 272, caption);
    Label6 = ui::label(this, QStringLiteral("Группа"), 360, 272, caption);

    const QString none = QStringLiteral("нет");
    Edit1 = ui::field(this, none, 304, 152, 145, 28);
    Edit2 = ui::field(this, none, 304, 200, 153, 28);
    Edit3 = ui::field(this, none, 272, 272, 49, 28);
    Edit4 = ui::field(this, none, 448, 272, 49, 28);
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4})
        edit->setFont(ui::font(16));

    Button1 = ui::button(this, QStringLiteral("Продолжить"), 288, 368, 81, 25);
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    Edit1->setFocus();
}

void SubjectDataWindow::onCreated() {
    ui::setText(Label2,
                QStringLiteral("Сегодня  ") + platform::formatShortDate(QDate::currentDate()));
    ui::hideWindow(app::state().Form3);
}

void SubjectDataWindow::onClosed() {
    ui::closeWindow(app::state().Form3);
}

// The fields are taken as they stand: any text, empty or the initial "нет", passes.
void SubjectDataWindow::Button1Click() {
    ui::openWindow(this, app::state().Form5);
}
