#pragma once

#include "ui/chain_window.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

namespace charts {

// What every chart window shares: the chart, drawn on the background picture with the rows'
// labels, and the buttons that print the window, export the chart with a legend and close the
// window. A chart window opens over its opener and closes on Escape. Each window places the
// parts it has, in its own order, and draws its own curves and texts.
class ChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    // The chart as drawn (empty when the background could not be loaded).
    const QImage& picture() const { return m_picture; }
    // The lines of the exported legend, under its heading.
    virtual QStringList legendLines() const { return {}; }

protected:
    ChartWindow(QWidget* owner, const QString& title, int width, int height);

    // The element that shows the chart: 505 x 505 at the window's left edge, `top` from its top.
    void addPicture(int top);
    // A button that prints the window; without a printer its caption says so, at every press.
    QPushButton* addPrintButton(const QString& caption, const QRect& geometry);
    // "Выход".
    QPushButton* addExitButton(const QRect& geometry);
    // The export button and the two labels from `statusAt` down that say where the chart went:
    // "saved_img\<prefix><n>.bmp", with legendLines() under `heading` in the legend beside it.
    QPushButton* addExportButton(const QString& caption, const QRect& geometry, QPoint statusAt,
                                 const QString& prefix, const QString& heading);

    // Loads the background and draws the rows' labels, then the window's own part, and shows
    // the chart. A background that cannot be read stops it at once: the window opens with an
    // empty chart and its texts as they were made.
    void onCreated() final;
    // Draws the curves on the chart and fills the window's texts.
    virtual void drawChart(QImage& picture) = 0;

private:
    void print();
    void exportChart();

    QImage m_picture;
    QLabel* m_chart = nullptr;
    QPushButton* m_printButton = nullptr;
    QLabel* m_exportStatusLabel = nullptr; // "График сохранён в:" or "Невозможно сохранить файл"
    QLabel* m_exportPathLabel = nullptr; // the exported bitmap's name
    QString m_exportPrefix;
    QString m_exportHeading;
};

} // namespace charts
