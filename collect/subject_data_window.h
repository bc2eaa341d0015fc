#pragma once

#include "app/chain_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The subject's surname, first name, course and group. The four fields are not copied
// anywhere: the results window reads them here while this window waits, hidden, beneath the
// test.
class TForm4 : public app::ChainWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* owner);

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
    void FormCreate() override;
    void FormClose() override;
};
