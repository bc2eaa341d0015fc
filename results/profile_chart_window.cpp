#include "results/profile_chart_window.h"

#include "graphics/chart_colours.h"
#include "graphics/chart_drawing.h"
#include "results/fitted_text.h"
#include "scoring/entry_mode.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPushButton>

namespace {

// What the header shows until the chart is drawn; it stays when the background cannot be read.
const QString kNone = QStringLiteral("нет");

constexpr int kSubjectLeft = 16;
QFont subjectFont() {
    return ui::font(13, ui::Bold);
}

} // namespace

ProfileChartWindow::ProfileChartWindow(QWidget* owner, const scoring::ScaleProfile& profile,
                                       const scoring::Subject& subject, const QString& date,
                                       scoring::EntryMode mode)
    : ChartWindow(owner, QStringLiteral("График"), 508, 567), m_profile(profile),
      m_subject(subject), m_date(date), m_mode(mode) {
    const char* subjectNames[] = {"surnameLabel", "firstNameLabel", "courseLabel", "groupLabel"};
    for (std::size_t line = 0; line < m_subjectLabels.size(); ++line) {
        m_subjectLabels[line] =
            ui::label(this, kNone, kSubjectLeft, 16 * int(line), subjectFont(), ui::kRed);
        m_subjectLabels[line]->setObjectName(QLatin1String(subjectNames[line]));
    }
    m_dateLabel = ui::label(this, kNone, 272, 32, ui::font(11));
    m_dateLabel->setObjectName(QStringLiteral("dateLabel"));
    m_modeLabel = ui::label(this, kNone, 272, 48, ui::font(11));
    m_modeLabel->setObjectName(QStringLiteral("modeLabel"));
    m_printButton = addPrintButton(QStringLiteral("распечатать"), {400, 8, 105, 17});
    addPicture(64);
}

void ProfileChartWindow::drawChart(QImage& picture) {
    fillHeader();
    chart::Plotter(picture).plot(m_profile, chart::kProfileCurve);
}

void ProfileChartWindow::fillHeader() {
    const QString captions[] = {QStringLiteral("Фамилия: "), QStringLiteral("Имя: "),
                                QStringLiteral("Курс: "), QStringLiteral("Группа: ")};
    const QString values[] = {m_subject.surname, m_subject.firstName, m_subject.course,
                              m_subject.group};
    // Each line ends before what stands right of it: the print button beside surname and first
    // name, the date and the entry mode beside course and group.
    const int ends[] = {m_printButton->x() - 4, m_printButton->x() - 4, m_dateLabel->x() - 4,
                        m_modeLabel->x() - 4};
    for (std::size_t line = 0; line < m_subjectLabels.size(); ++line)
        results::setFittedText(m_subjectLabels[line], captions[line] + values[line], subjectFont(),
                               ends[line] - kSubjectLeft);
    ui::setText(m_dateLabel, QStringLiteral("Дата: ") + m_date);
    ui::setText(m_modeLabel, scoring::entryModeText(m_mode, scoring::ModeWords::ChartHeading));
}
