#include "collect/subject_data_window.h"

#include "collect/subject_fields.h"
#include "collect/test_window.h"
#include "platform/dates.h"
#include "ui/ui_kit.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SubjectDataWindow::SubjectDataWindow(QWidget* owner)
    : ChainWindow(owner, ui::Opener::HideThenClose) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedClientSize(688, 453);
    ui::bevel(this, 120, 88, 425, 233);

    m_heading =
        ui::label(this, QStringLiteral("Введите данные:"), 240, 40, ui::font(19), ui::kTeal);
    m_dateLabel =
        ui::label(this, QStringLiteral("Сегодня  "), 136, 104, ui::font(16, ui::Bold), ui::kBlue);
    m_dateLabel->setObjectName(QStringLiteral("dateLabel"));

    const QFont caption = ui::font(19);
    m_surnameCaption = ui::label(this, QStringLiteral("Фамилия"), 200, 152, caption);
    m_firstNameCaption = ui::label(this, QStringLiteral("Имя"), 200, 200, caption);
    m_courseCaption = ui::label(this, QStringLiteral("Курс"), 200, 272, caption);
    m_groupCaption = ui::label(this, QStringLiteral("Группа"), 360, 272, caption);

    m_surnameEdit = collect::subjectField(this, scoring::kSurnameLength, 304, 152, 145, 28);
    m_firstNameEdit = collect::subjectField(this, scoring::kFirstNameLength, 304, 200, 153, 28);
    m_courseEdit = collect::subjectField(this, scoring::kCourseLength, 272, 272, 49, 28);
    m_groupEdit = collect::subjectField(this, scoring::kGroupLength, 448, 272, 49, 28);
    m_surnameEdit->setObjectName(QStringLiteral("surnameEdit"));
    m_firstNameEdit->setObjectName(QStringLiteral("firstNameEdit"));
    m_courseEdit->setObjectName(QStringLiteral("courseEdit"));
    m_groupEdit->setObjectName(QStringLiteral("groupEdit"));
    for (QLineEdit* edit : {m_surnameEdit, m_firstNameEdit, m_courseEdit, m_groupEdit})
        edit->setFont(ui::font(16));

    m_continueButton = ui::button(this, QStringLiteral("Продолжить"), 288, 368, 81, 25);
    m_continueButton->setObjectName(QStringLiteral("continueButton"));
    on(m_continueButton, &QPushButton::clicked, [this] { startTest(); });

    setTabOrder(m_surnameEdit, m_firstNameEdit);
    setTabOrder(m_firstNameEdit, m_courseEdit);
    setTabOrder(m_courseEdit, m_groupEdit);
    setTabOrder(m_groupEdit, m_continueButton);
    m_surnameEdit->setFocus();
    // Typing replaces the initial "нет", as it does in a field tabbed into.
    m_surnameEdit->selectAll();
}

scoring::Subject SubjectDataWindow::subject() const {
    return {m_surnameEdit->text(), m_firstNameEdit->text(), m_courseEdit->text(),
            m_groupEdit->text()};
}

void SubjectDataWindow::onCreated() {
    ui::setText(m_dateLabel,
                QStringLiteral("Сегодня  ") + platform::formatShortDate(QDate::currentDate()));
}

// The fields are taken as they stand: any text they accept, empty or the initial "нет", passes.
void SubjectDataWindow::startTest() {
    ui::openWindow<TestWindow>(this, subject());
}
