#include "charts/group_chart_window.h"

#include "charts/chart_frame.h"
#include "charts/export_chart.h"
#include "graphics/chart_colours.h"
#include "scoring/group_profile.h"
#include "scoring/record_line.h"
#include "ui/printing.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

constexpr int kListLines = 33; // the list starts with this many empty lines

} // namespace

GroupChartWindow::GroupChartWindow(QWidget* owner, const QList<scoring::RecordRef>& places)
    : ChainWindow(owner), m_places(places) {
    setWindowTitle(QStringLiteral("Общий график"));
    setClosesOnEscape(true);
    setFixedClientSize(809, 505);
    setFont(ui::font(11));

    m_chart = chart::pictureElement(this, 0);
    // The caption begins with the Latin capital C.
    m_listCaption =
        ui::label(this, QStringLiteral("Cписок группы"), 512, 8, ui::font(13, ui::Bold), ui::kRed);
    m_listCaption->setObjectName(QStringLiteral("listCaption"));

    m_groupList = new QPlainTextEdit(this);
    m_groupList->setObjectName(QStringLiteral("groupList"));
    m_groupList->setGeometry(512, 32, 289, 401);
    m_groupList->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_groupList->setPlainText(QStringList(kListLines, QString()).join(u'\n'));

    m_exitButton = ui::button(this, QStringLiteral("Выход"), 520, 440, 81, 25);
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    m_printButton = ui::button(this, QStringLiteral("Распечатать"), 704, 440, 81, 25);
    m_printButton->setObjectName(QStringLiteral("printButton"));
    m_exportButton = ui::button(this, QStringLiteral("Сохр. рис"), 704, 472, 81, 25);
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    m_exportStatusLabel = ui::label(this, QString(), 520, 472, ui::font(11));
    m_exportStatusLabel->setObjectName(QStringLiteral("exportStatusLabel"));
    m_exportPathLabel = ui::label(this, QString(), 520, 488, ui::font(11));
    m_exportPathLabel->setObjectName(QStringLiteral("exportPathLabel"));

    setTabOrder(m_printButton, m_exitButton);
    setTabOrder(m_exitButton, m_groupList);
    setTabOrder(m_groupList, m_exportButton);

    on(m_printButton, &QPushButton::clicked, [this] { printChart(); });
    on(m_exitButton, &QPushButton::clicked, [this] { close(); });
    on(m_exportButton, &QPushButton::clicked, [this] { exportChart(); });
}

void GroupChartWindow::onCreated() {
    m_picture = chart::loadBackground();
    chart::drawFrame(m_picture);

    const QList<scoring::ResultRecord> members = scoring::readGroup(m_places);
    QStringList list(kListLines, QString());
    for (qsizetype n = 0; n < members.size() && n < kListLines; ++n)
        list[n] = scoring::recordLine(members[n], scoring::CourseStyle::Named);
    m_groupList->setPlainText(list.join(u'\n'));

    if (const std::optional<scoring::ScaleProfile> mean = scoring::meanProfile(members))
        chart::Plotter(m_picture).plot(*mean, chart::kProfileCurve);
    m_chart->setPixmap(QPixmap::fromImage(m_picture));
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

void GroupChartWindow::printChart() {
    if (!ui::printWindow(this))
        m_printButton->setText(QStringLiteral("Не выходит:)"));
}

void GroupChartWindow::exportChart() {
    charts::ExportChart(m_picture, QStringLiteral("gr_"), QStringLiteral("Список группы:"),
                        legendLines(), m_exportStatusLabel, m_exportPathLabel);
}
