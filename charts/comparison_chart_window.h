#pragma once

#include "charts/chart_window.h"
#include "scoring/record_ref.h"

#include <QList>
#include <QStringList>
#include <array>

class QLabel;
class QPlainTextEdit;

// "Сравнение": the profiles of up to five chosen subjects on one chart, each place in its own
// colour, with one legend box per place. The chart can be printed and exported as
// "saved_img\SR_<n>.bmp" with its legend.
class ComparisonChartWindow : public charts::ChartWindow {
    Q_OBJECT
public:
    static constexpr int kPlaces = 5;

    // `places` are the comparison places 1 to 5 in order; a free place or one whose record
    // cannot be read gets neither a curve nor a legend.
    ComparisonChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places);

    // The legend box of place 1 to 5.
    QPlainTextEdit* legendBox(int place) const { return m_legendBoxes[std::size_t(place - 1)]; }
    // The export legend: for every place its colour word and the first four lines of its box.
    QStringList legendLines() const override;

protected:
    void drawChart(QImage& picture) override;

private:
    void fillLegendBox(int place, const scoring::ResultRecord& record);

    QList<scoring::RecordRef> m_places;

    QLabel* m_legendCaption = nullptr; // "Данные об исследуемых"
    std::array<QPlainTextEdit*, kPlaces> m_legendBoxes{};
};
