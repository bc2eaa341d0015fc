#pragma once

#include "ui/chain_window.h"

class QLabel;
class QPushButton;

// The profile chart of the subject just scored: the shared profile drawn on the background
// picture, a header with the subject's data, and a button that prints the window.
class ProfileChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ProfileChartWindow(QWidget* owner);

    void Button1Click(); // "распечатать"

    QLabel* Label1 = nullptr; // "Фамилия: " and the surname
    QLabel* Label2 = nullptr; // "Имя: " and the first name
    QLabel* Label3 = nullptr; // "Курс: " and the course
    QLabel* Label4 = nullptr; // "Группа: " and the group
    QLabel* Label5 = nullptr; // "Дата: " and the date
    QLabel* Label6 = nullptr; // how the answers were taken
    QPushButton* Button1 = nullptr;
    QLabel* Image1 = nullptr; // the chart

protected:
    void onCreated() override;

private:
    void fillHeader();
};
