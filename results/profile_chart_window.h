#pragma once

#include "charts/chart_window.h"
#include "scoring/types.h"

#include <QString>
#include <array>

class QLabel;
class QPushButton;

// The profile chart of the subject just scored: the profile drawn on the background picture,
// a header with the subject's data, the date and how the answers were taken, and a button
// that prints the window.
class ProfileChartWindow : public charts::ChartWindow {
    Q_OBJECT
public:
    ProfileChartWindow(QWidget* owner, const scoring::ScaleProfile& profile,
                       const scoring::Subject& subject, const QString& date,
                       scoring::EntryMode mode);

protected:
    void drawChart(QImage& picture) override;

private:
    void fillHeader();

    scoring::ScaleProfile m_profile;
    scoring::Subject m_subject;
    QString m_date;
    scoring::EntryMode m_mode;

    // Surname, first name, course and group, each after its caption.
    std::array<QLabel*, 4> m_subjectLabels{};
    QLabel* m_dateLabel = nullptr;
    QLabel* m_modeLabel = nullptr;
    QPushButton* m_printButton = nullptr;
};
