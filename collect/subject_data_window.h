#pragma once

#include "ui/chain_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The subject's surname, first name, course and group. The four fields are not copied
// anywhere: the results window reads them here while this window waits, hidden, beneath the
// test.
class SubjectDataWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit SubjectDataWindow(QWidget* owner);

    void Button1Click(); // "Продолжить"

    QLabel* Label1 = nullptr;   // heading
    QLabel* Label2 = nullptr;   // today's date
    QLabel* Label3 = nullptr;   // "Фамилия"
    QLabel* Label4 = nullptr;   // "Имя"
    QLabel* Label5 = nullptr;   // "Курс"
    QLabel* Label6 = nullptr;   // "Группа"
    QLineEdit* Edit1 = nullptr; // surname
    QLineEdit* Edit2 = nullptr; // first name
    QLineEdit* Edit3 = nullptr; // course
    QLineEdit* Edit4 = nullptr; // group
    QPushButton* Button1 = nullptr;

protected:
    void onCreated() override;
    void onClosed() override;
};
