#pragma once

#include "charts/chart_window.h"
#include "scoring/record_ref.h"

#include <QList>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Общий график": the mean profile of the chosen group as one red curve, with the list of the
// group beside it. The list can be edited; the chart can be printed and exported as
// "saved_img\gr_<n>.bmp" with the list as legend; "Справка PDF" saves the class report of the
// group.
class GroupChartWindow : public charts::ChartWindow {
    Q_OBJECT
public:
    // `places` are the group places 6 to 35 in order; free places and places whose record
    // cannot be read are left out of the mean and of the list.
    GroupChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places);

    // The export legend: the list's first line, then each next line up to the first empty one.
    QStringList legendLines() const override;

protected:
    void drawChart(QImage& picture) override;

private:
    void saveClassReport(); // "Справка PDF"

    QList<scoring::RecordRef> m_places;

    QLabel* m_listCaption = nullptr; // "Cписок группы"
    QPlainTextEdit* m_groupList = nullptr;
    QPushButton* m_reportButton = nullptr;
};
