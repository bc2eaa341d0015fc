#include "charts/group_chart_window.h"

#include "graphics/chart_colours.h"
#include "graphics/chart_drawing.h"
#include "scoring/group_profile.h"
#include "scoring/record_line.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

constexpr int kListLines = 33; // the list starts with this many empty lines

} // namespace

GroupChartWindow::GroupChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places)
    : ChartWindow(owner, QStringLiteral("Общий график"), 809, 505), m_places(places) {
    setFont(ui::font(11));

    addPicture(0);
    // The caption begins with the Latin capital C.
    m_listCaption =
        ui::label(this, QStringLiteral("Cписок группы"), 512, 8, ui::font(13, ui::Bold), ui::kRed);
    m_listCaption->setObjectName(QStringLiteral("listCaption"));

    m_groupList = new QPlainTextEdit(this);
    m_groupList->setObjectName(QStringLiteral("groupList"));
    m_groupList->setGeometry(512, 32, 289, 401);
    m_groupList->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_groupList->setPlainText(QStringList(kListLines, QString()).join(u'\n'));

    QPushButton* exitButton = addExitButton({520, 440, 81, 25});
    QPushButton* printButton = addPrintButton(QStringLiteral("Распечатать"), {704, 440, 81, 25});
    QPushButton* exportButton =
        addExportButton(QStringLiteral("Сохр. рис"), {704, 472, 81, 25}, {520, 472},
                        QStringLiteral("gr_"), QStringLiteral("Список группы:"));

    setTabOrder(printButton, exitButton);
    setTabOrder(exitButton, m_groupList);
    setTabOrder(m_groupList, exportButton);
}

void GroupChartWindow::drawChart(QImage& picture) {
    const QList<scoring::ResultRecord> members = scoring::readGroup(m_places);
    QStringList list(kListLines, QString());
    for (qsizetype n = 0; n < members.size() && n < kListLines; ++n)
        list[n] = scoring::recordLine(members[n], scoring::CourseStyle::Named);
    m_groupList->setPlainText(list.join(u'\n'));

    if (const std::optional<scoring::ScaleProfile> mean = scoring::meanProfile(members))
        chart::Plotter(picture).plot(*mean, chart::kProfileCurve);
}

QStringList GroupChartWindow::legendLines() const {
    QStringList lines;
    for (QTextBlock block = m_groupList->document()->begin(); block.isValid();
         block = block.next()) {
        if (!lines.isEmpty() && block.text().isEmpty())
            break;
        lines << block.text();
    }
    return lines;
}
