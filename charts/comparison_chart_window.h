#pragma once

#include "scoring/record_ref.h"
#include "ui/chain_window.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
namespace chart {
class Plotter;
}

// "Сравнение": the profiles of up to five chosen subjects on one chart, each place in its own
// colour, with one legend box per place. The chart can be printed and exported as
// "saved_img\SR_<n>.bmp" with its legend.
class ComparisonChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    static constexpr int kPlaces = 5;

    // `places` are the comparison places 1 to 5 in order; a free place or one whose record
    // cannot be read gets neither a curve nor a legend.
    ComparisonChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places);

    // The chart as drawn (empty when the background could not be loaded).
    const QImage& picture() const { return m_picture; }
    // The legend box of place 1 to 5.
    QPlainTextEdit* legendBox(int place) const { return m_legendBoxes[std::size_t(place - 1)]; }
    // The export legend: for every place its colour word and the first four lines of its box.
    QStringList legendLines() const;

protected:
    void onCreated() override;

private:
    void fillLegendBox(int place, const scoring::ResultRecord& record);
    void printChart();  // "Распечатать"
    void exportChart(); // "Сохр.рис"

    QList<scoring::RecordRef> m_places;
    QImage m_picture;

    QLabel* m_chart = nullptr;
    QLabel* m_legendCaption = nullptr; // "Данные об исследуемых"
    std::array<QPlainTextEdit*, kPlaces> m_legendBoxes{};
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QLabel* m_exportStatusLabel = nullptr;
    QLabel* m_exportPathLabel = nullptr; // the exported bitmap's name
};
