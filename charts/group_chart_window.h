#pragma once

#include "scoring/record_ref.h"
#include "ui/chain_window.h"

#include <QImage>
#include <QList>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Общий график": the mean profile of the chosen group as one red curve, with the list of the
// group beside it. The list can be edited; the chart can be printed and exported as
// "saved_img\gr_<n>.bmp" with the list as legend.
class GroupChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    // `places` are the group places 6 to 35 in order; free places and places whose record
    // cannot be read are left out of the mean and of the list.
    GroupChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places);

    // The chart as drawn (empty when the background could not be loaded).
    const QImage& picture() const { return m_picture; }
    // The export legend: the list's first line, then each next line up to the first empty one.
    QStringList legendLines() const;

protected:
    void onCreated() override;

private:
    void printChart();  // "Распечатать"
    void exportChart(); // "Сохр. рис"

    QList<scoring::RecordRef> m_places;
    QImage m_picture;

    QLabel* m_chart = nullptr;
    QLabel* m_listCaption = nullptr; // "Cписок группы"
    QPlainTextEdit* m_groupList = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QLabel* m_exportStatusLabel = nullptr;
    QLabel* m_exportPathLabel = nullptr; // the exported bitmap's name
};
