#pragma once

#include "ui/chain_window.h"

#include <QImage>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Общий график": the mean profile of the subjects in the group places 6 to 35 of the
// Selection as one red curve, with the list of the group beside it. The list can be edited;
// the chart can be printed and exported as "saved_img\gr_<n>.bmp" with the list as legend.
class GroupChartWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit GroupChartWindow(QWidget* owner);

    void Button1Click(); // "Распечатать"
    void Button2Click(); // "Выход"
    void Button3Click(); // "Сохр. рис"

    // The chart as drawn (empty when the background could not be loaded).
    const QImage& picture() const { return m_picture; }
    // The export legend: the list's first line, then each next line up to the first empty one.
    QStringList legendLines() const;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;        // "Cписок группы"
    QPlainTextEdit* Memo1 = nullptr; // the group list
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label2 = nullptr; // export status
    QLabel* Label3 = nullptr; // exported bitmap's name

protected:
    void onCreated() override;

private:
    QImage m_picture;
};
