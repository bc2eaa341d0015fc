#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QLabel;

// The main window: the program's title, a description of the questionnaire and the buttons
// that start everything else. Every other window opens over it; "Выход" and its frame end the
// program.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void startTest();       // "Тест"
    void enterPaperSheet(); // "Ввести результаты"
    void openArchive();     // "Загрузить"
    void openPaperSheets(); // "Бланки и сканы"
    void quitProgram();     // "Выход"
    void showAbout();       // "О программе"
    void showMethod();      // "Описание методики"

    QPushButton* addButton(const QString& text, const char* name, const QRect& geometry,
                           void (MainWindow::*handler)());

    QLabel* m_title = nullptr;
    QPlainTextEdit* m_description = nullptr;
    bool m_shownBefore = false;
};
