#include "charts/group_chart_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"
#include "charts/chosen_record.h"
#include "charts/export_chart.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "ui/printing.h"
#include "charts/chart_frame.h"
#include "scoring/result_file.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <optional>

namespace {

constexpr int kListLines = 33; // the list starts with this many empty lines

// "<date> <surname> <first name> <course> курс, <group>"
QString listLine(const scoring::ResultRecord& record) {
    return platform::formatDayCount(record.date) + u' ' + record.surname + u' ' + record.firstName +
           u' ' + record.course + QStringLiteral(" курс, ") + record.group;
}

} // namespace

GroupChartWindow::GroupChartWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Общий график"));
    setFixedClientSize(809, 505);
    setFont(ui::font(11));

    Image1 = chart::pictureElement(this, 0);
    // The caption begins with the Latin capital C.
    Label1 =
        ui::label(this, QStringLiteral("Cписок группы"), 512, 8, ui::font(13, ui::Bold), ui::kRed);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(512, 32, 289, 401);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setPlainText(QStringList(kListLines, QString()).join(u'\n'));

    Button2 = ui::button(this, QStringLiteral("Выход"), 520, 440, 81, 25);
    Button1 = ui::button(this, QStringLiteral("Распечатать"), 704, 440, 81, 25);
    Button3 = ui::button(this, QStringLiteral("Сохр. рис"), 704, 472, 81, 25);
    Label2 = ui::label(this, QString(), 520, 472, ui::font(11));
    Label3 = ui::label(this, QString(), 520, 488, ui::font(11));

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Memo1);
    setTabOrder(Memo1, Button3);

    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button3, &QPushButton::clicked, [this] { Button3Click(); });
}

void GroupChartWindow::onCreated() {
    m_picture = chart::loadBackground();
    chart::drawFrame(m_picture);

    // A place whose record cannot be read is left out altogether: it neither lowers the mean
    // nor leaves a gap in the list.
    std::array<int, scoring::kScales> sums{};
    QStringList list(kListLines, QString());
    int n = 0;
    for (int place = app::kComparisonPlaces + 1; place <= app::kPlaces; ++place) {
        const std::optional<scoring::ResultRecord> record = charts::readChosenRecord(place);
        if (!record)
            continue;
        for (std::size_t k = 0; k < sums.size(); ++k)
            sums[k] += record->scales[k];
        list[n] = listLine(*record);
        ++n;
    }
    Memo1->setPlainText(list.join(u'\n'));

    if (n > 0) {
        scoring::ScaleProfile mean{};
        for (std::size_t k = 0; k < sums.size(); ++k)
            mean[k] = quint8(sums[k] / n); // the remainder is dropped
        chart::Plotter(m_picture).plot(mean, ui::kRed);
    }
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

QStringList GroupChartWindow::legendLines() const {
    QStringList lines;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        if (!lines.isEmpty() && block.text().isEmpty())
            break;
        lines << block.text();
    }
    return lines;
}

void GroupChartWindow::Button1Click() {
    if (!ui::printWindow(this))
        Button1->setText(QStringLiteral("Не выходит:)"));
}

void GroupChartWindow::Button2Click() {
    close();
}

void GroupChartWindow::Button3Click() {
    charts::ExportChart(m_picture, QStringLiteral("gr_"), QStringLiteral("Список группы:"),
                        legendLines(), Label2, Label3);
}
