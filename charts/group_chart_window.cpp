#include "charts/group_chart_window.h"

#include "export/group_report.h"
#include "graphics/chart_colours.h"
#include "graphics/chart_drawing.h"
#include "graphics/texts.h"
#include "platform/paths.h"
#include "scoring/group_profile.h"
#include "scoring/group_statistics.h"
#include "scoring/record_line.h"
#include "ui/file_dialog.h"
#include "ui/ui_kit.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

constexpr int kListLines = 33; // the list starts with this many empty lines

// "saved_img\справка_<group>.pdf", offered in the save dialog; a character a file name cannot
// hold becomes "_".
QString suggestedReportPath(const QString& group) {
    QString file = QStringLiteral("справка_") + group.trimmed();
    for (QChar& c : file) {
        if (c < u' ' || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    return QDir::current().absoluteFilePath(
        platform::resolvePath(QStringLiteral("saved_img\\") + file + QStringLiteral(".pdf")));
}

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

    // In the free space between "Выход" and "Распечатать".
    m_reportButton = ui::button(this, QStringLiteral("Справка PDF"), 612, 440, 81, 25);
    m_reportButton->setObjectName(QStringLiteral("classReportButton"));
    setTabOrder(exportButton, m_reportButton);
    on(m_reportButton, &QPushButton::clicked, [this] { saveClassReport(); });
}

void GroupChartWindow::drawChart(QImage& picture) {
    const QList<scoring::ResultRecord> members = scoring::readGroup(m_places);
    QStringList list(kListLines, QString());
    for (qsizetype n = 0; n < members.size() && n < kListLines; ++n)
        list[n] = scoring::recordLine(members[n], scoring::CourseStyle::Named);
    m_groupList->setPlainText(list.join(u'\n'));
    m_reportButton->setEnabled(!members.isEmpty());

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

void GroupChartWindow::saveClassReport() {
    const QList<scoring::ResultRecord> members = scoring::readGroup(m_places);
    if (members.isEmpty())
        return;
    const QString path = ui::FileDialog::getSaveFileName(
        this, QStringLiteral("Справка PDF (*.pdf)"), suggestedReportPath(members.front().group));
    if (path.isEmpty())
        return;
    const ui::BusyCursor busy;
    scoring::ClassSummary summary;
    for (const scoring::ResultRecord& member : members)
        summary.add(member);
    exporting::writeGroupReport(path, summary, graphics::explanations(), false);
}
