#pragma once

#include "ui/chain_window.h"

#include <QString>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace ui {
class ClickLabel;
}

// The results window: the item scores, raw totals and stens of the subject just tested or
// entered by hand, with links to the factor explanations, saving and the profile chart.
// It is opened by the test window (ManualEntry 0) or by the manual entry window (1), hides
// that opener while it is shown and closes it when it closes.
class ResultsWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ResultsWindow(QWidget* owner);

    void Button1Click(); // "График"
    void Button2Click(); // "Выход"
    void Button3Click(); // "Сохранить"

    // The 17 scale links, MD to Q4.
    void Label15Click();
    void Label16Click();
    void Label17Click();
    void Label18Click();
    void Label19Click();
    void Label20Click();
    void Label21Click();
    void Label22Click();
    void Label23Click();
    void Label24Click();
    void Label25Click();
    void Label26Click();
    void Label27Click();
    void Label28Click();
    void Label29Click();
    void Label30Click();
    void Label31Click();

    // Whether the sheet was scored when the window was created (the key could be read).
    bool scored() const { return m_scored; }

    QLabel* Label1 = nullptr;  // "Результаты:"
    QLabel* Label2 = nullptr;  // "Дата:"
    QLabel* Label3 = nullptr;  // "Фамилия:"
    QLabel* Label4 = nullptr;  // "Имя:"
    QLabel* Label5 = nullptr;  // "Курс:"
    QLabel* Label6 = nullptr;  // "Группа:"
    QLabel* Label7 = nullptr;  // date
    QLabel* Label8 = nullptr;  // surname
    QLabel* Label9 = nullptr;  // first name
    QLabel* Label10 = nullptr; // course
    QLabel* Label11 = nullptr; // group
    QLabel* Label12 = nullptr; // "Сырые оценки:"
    QLabel* Label13 = nullptr; // "Стандартные"
    QLabel* Label14 = nullptr; // "(Стены)"
    // Label15 to Label31: the scale links of MD to Q4; Label32 to Label48: their stens.
    std::array<ui::ClickLabel*, 17> scaleLinks{};
    std::array<QLabel*, 17> stenLabels{};
    QLabel* Label49 = nullptr; // "Клик для подробной"
    QLabel* Label50 = nullptr; // "информации"
    QLabel* Label51 = nullptr; // "Сохранено в базе"
    // Memo1 to Memo7: the item-score columns; Memo8: the raw totals.
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QPlainTextEdit* Memo5 = nullptr;
    QPlainTextEdit* Memo6 = nullptr;
    QPlainTextEdit* Memo7 = nullptr;
    QPlainTextEdit* Memo8 = nullptr;
    std::array<QPlainTextEdit*, 7> itemColumns{}; // Memo1 to Memo7
    QFrame* Bevel1 = nullptr;                     // subject box
    QFrame* Bevel2 = nullptr;                     // raw-score box
    QFrame* Bevel3 = nullptr;                     // sten box
    QFrame* Bevel4 = nullptr;                     // sten rows
    QPushButton* Button1 = nullptr;               // "График"
    QPushButton* Button2 = nullptr;               // "Выход"
    QPushButton* Button3 = nullptr;               // "Сохранить"

    // The scale link and sten label of scale k (1 for MD to 17 for Q4).
    ui::ClickLabel* scaleLink(int scale) const { return scaleLinks[std::size_t(scale - 1)]; }
    QLabel* stenLabel(int scale) const { return stenLabels[std::size_t(scale - 1)]; }

protected:
    void onCreated() override;
    void onClosed() override;

private:
    void buildSubjectBox();
    void buildRawScoreBox();
    void buildStenBox();
    // Fills the shared explanation texts with those of scale k and opens an explanation.
    void scaleLinkClick(int scale);
    // The opener of this window: the test window (ManualEntry 0) or the manual entry window.
    QWidget* opener() const;
    // Surname, first name, course and group as typed in the window where they were entered.
    std::array<QString, 4> subjectTexts() const;

    bool m_scored = false;
};
