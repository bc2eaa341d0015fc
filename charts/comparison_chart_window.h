#pragma once

#include "ui/chain_window.h"

#include <QImage>
#include <QStringList>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
namespace chart {
class Plotter;
}

// "Сравнение": the profiles of the subjects in the comparison places 1 to 5 of the Selection
// on one chart, each place in its own colour, with one legend box per place. The chart can be
// printed and exported as "saved_img\SR_<n>.bmp" with its legend.
class ComparisonChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ComparisonChartWindow(QWidget* owner);

    void Button1Click(); // "Выход"
    void Button2Click(); // "Распечатать"
    void Button3Click(); // "Сохр.рис"

    // The chart as drawn (empty when the background could not be loaded).
    const QImage& picture() const { return m_picture; }
    // The legend box of place 1 to 5.
    QPlainTextEdit* legendBox(int place) const { return m_boxes[std::size_t(place - 1)]; }
    // The export legend: for every place its colour word and the first four lines of its box.
    QStringList legendLines() const;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr; // "Данные об исследуемых"
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QPlainTextEdit* Memo5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label2 = nullptr; // export status
    QLabel* Label3 = nullptr; // exported bitmap's name

protected:
    void onCreated() override;

private:
    void fillLegendBox(int place);
    void drawCurve(int place, chart::Plotter& plotter);

    QImage m_picture;
    std::array<QPlainTextEdit*, 5> m_boxes{};
};
