#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QLabel;

// The main window: the program's title, a description of the questionnaire and the buttons
// that start everything else.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

    void Button1Click(); // "Тест"
    void Button2Click(); // "Ввести результаты"
    void Button3Click(); // "Загрузить"
    void Button4Click(); // "Выход"
    void Button5Click(); // "О программе"
    void ShowMethodClick(); // "Описание методики"

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr; // "Описание методики"
};
