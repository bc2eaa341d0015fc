#include "charts/comparison_chart_window.h"

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

namespace {

constexpr int kLegendLines = 5; // a box holds five lines; the fifth always stays empty

// What belongs to a comparison place: the colour of its curve and legend text, and the word
// that names it in the exported legend.
struct PlaceLook {
    QColor color;
    const char* word; // UTF-8
};

const std::array<PlaceLook, app::kComparisonPlaces>& placeLooks() {
    static const std::array<PlaceLook, app::kComparisonPlaces> looks = {{
        {ui::kRed, "Красный"},
        {ui::kBlue, "Синий"},
        {ui::kGreen, "Зеленый"},
        {ui::kMaroon, "Малиновый"},
        {ui::kBlack, "Черный"},
    }};
    return looks;
}

const PlaceLook& lookOf(int place) {
    return placeLooks()[std::size_t(place - 1)];
}

QString modeLine(quint8 manualEntry) {
    switch (manualEntry) {
    case 0:
        return QStringLiteral("тест пройден");
    case 1:
        return QStringLiteral("результаты введены вручную");
    default:
        return QString();
    }
}

QStringList emptyLines() {
    return QStringList(kLegendLines, QString());
}

void setLines(QPlainTextEdit* box, const QStringList& lines) {
    box->setPlainText(lines.join(u'\n'));
}

QString lineOf(const QPlainTextEdit* box, int line) {
    return box->document()->findBlockByNumber(line).text();
}

} // namespace

ComparisonChartWindow::ComparisonChartWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Сравнение"));
    setFixedClientSize(692, 506);
    setFont(ui::font(11));

    Image1 = chart::pictureElement(this, 0);
    Label1 = ui::label(this, QStringLiteral("Данные об исследуемых"), 512, 8, ui::font(13));

    QPlainTextEdit** boxes[] = {&Memo1, &Memo2, &Memo3, &Memo4, &Memo5};
    for (int place = 1; place <= app::kComparisonPlaces; ++place) {
        QPlainTextEdit* box = ui::memo(this, 512, 40 + 72 * (place - 1), 169, 65, false);
        box->setFocusPolicy(Qt::StrongFocus); // read-only, but reached by the keyboard
        ui::setTextColor(box, lookOf(place).color);
        setLines(box, emptyLines());
        *boxes[place - 1] = box;
        m_boxes[std::size_t(place - 1)] = box;
    }

    Button1 = ui::button(this, QStringLiteral("Выход"), 512, 400, 81, 25);
    Button2 = ui::button(this, QStringLiteral("Распечатать"), 608, 400, 73, 25);
    Button3 = ui::button(this, QStringLiteral("Сохр.рис"), 608, 432, 73, 25);
    Label2 = ui::label(this, QString(), 512, 464, ui::font(11));
    Label3 = ui::label(this, QString(), 512, 480, ui::font(11));

    QWidget* order[] = {Button1, Button2, Memo1, Memo2, Memo3, Memo4, Memo5, Button3};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button3, &QPushButton::clicked, [this] { Button3Click(); });
}

void ComparisonChartWindow::onCreated() {
    m_picture = chart::loadBackground();
    for (int place = 1; place <= app::kComparisonPlaces; ++place)
        fillLegendBox(place);
    chart::drawFrame(m_picture);
    // Curves go in place order, so the higher place lies on top where curves meet.
    chart::Plotter plotter(m_picture);
    for (int place = 1; place <= app::kComparisonPlaces; ++place)
        drawCurve(place, plotter);
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

void ComparisonChartWindow::fillLegendBox(int place) {
    const std::optional<scoring::ResultRecord> record = charts::readChosenRecord(place);
    if (!record)
        return;
    QStringList lines = emptyLines();
    lines[0] = platform::formatDayCount(record->date);
    lines[1] = record->surname + u' ' + record->firstName;
    lines[2] =
        record->course + QStringLiteral(" -курс, ") + record->group + QStringLiteral(" -группа");
    lines[3] = modeLine(record->manualEntry);
    setLines(legendBox(place), lines);
}

void ComparisonChartWindow::drawCurve(int place, chart::Plotter& plotter) {
    // A place whose record cannot be read gets no curve, rather than the values of the place
    // drawn before it.
    if (const std::optional<scoring::ResultRecord> record = charts::readChosenRecord(place))
        plotter.plot(record->scales, lookOf(place).color);
}

QStringList ComparisonChartWindow::legendLines() const {
    QStringList lines;
    for (int place = 1; place <= app::kComparisonPlaces; ++place) {
        lines << QString::fromUtf8(lookOf(place).word);
        for (int line = 0; line < kLegendLines - 1; ++line)
            lines << lineOf(legendBox(place), line);
    }
    return lines;
}

void ComparisonChartWindow::Button1Click() {
    close();
}

void ComparisonChartWindow::Button2Click() {
    if (!ui::printWindow(this))
        Button2->setText(QStringLiteral("Не выходит:)"));
}

void ComparisonChartWindow::Button3Click() {
    charts::ExportChart(m_picture, QStringLiteral("SR_"), QStringLiteral("Сравнение графиков :"),
                        legendLines(), Label2, Label3);
}
