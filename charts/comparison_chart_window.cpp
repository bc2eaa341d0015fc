#include "charts/comparison_chart_window.h"

#include "graphics/chart_colours.h"
#include "graphics/chart_drawing.h"
#include "platform/dates.h"
#include "scoring/entry_mode.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <optional>

namespace {

constexpr int kLegendLines = 5; // a box holds five lines; the fifth always stays empty

// What belongs to a comparison place: the colour of its curve and legend text, and the word
// that names it in the exported legend.
struct PlaceLook {
    QColor color;
    const char* word; // UTF-8
};

const std::array<PlaceLook, ComparisonChartWindow::kPlaces>& placeLooks() {
    static const std::array<PlaceLook, ComparisonChartWindow::kPlaces> looks = {{
        {chart::kPlaceCurves[0], "Красный"},
        {chart::kPlaceCurves[1], "Синий"},
        {chart::kPlaceCurves[2], "Зеленый"},
        {chart::kPlaceCurves[3], "Малиновый"},
        {chart::kPlaceCurves[4], "Черный"},
    }};
    return looks;
}

const PlaceLook& lookOf(int place) {
    return placeLooks()[std::size_t(place - 1)];
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

ComparisonChartWindow::ComparisonChartWindow(QWidget* owner,
                                             const QList<scoring::RecordRef>& places)
    : ChartWindow(owner, QStringLiteral("Сравнение"), 692, 506), m_places(places) {
    setFont(ui::font(11));

    addPicture(0);
    m_legendCaption =
        ui::label(this, QStringLiteral("Данные об исследуемых"), 512, 8, ui::font(13));

    for (int place = 1; place <= kPlaces; ++place) {
        QPlainTextEdit* box = ui::memo(this, 512, 40 + 72 * (place - 1), 169, 65, false);
        box->setObjectName(QStringLiteral("legendBox%1").arg(place));
        box->setFocusPolicy(Qt::StrongFocus); // read-only, but reached by the keyboard
        ui::setTextColor(box, lookOf(place).color);
        setLines(box, emptyLines());
        m_legendBoxes[std::size_t(place - 1)] = box;
    }

    QPushButton* exitButton = addExitButton({512, 400, 81, 25});
    QPushButton* printButton = addPrintButton(QStringLiteral("Распечатать"), {608, 400, 73, 25});
    QPushButton* exportButton =
        addExportButton(QStringLiteral("Сохр.рис"), {608, 432, 73, 25}, {512, 464},
                        QStringLiteral("SR_"), QStringLiteral("Сравнение графиков :"));

    QList<QWidget*> order = {exitButton, printButton};
    for (QPlainTextEdit* box : m_legendBoxes)
        order << box;
    order << exportButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ComparisonChartWindow::drawChart(QImage& picture) {
    std::array<std::optional<scoring::ResultRecord>, kPlaces> records;
    for (int place = 1; place <= kPlaces && place <= m_places.size(); ++place)
        records[std::size_t(place - 1)] = scoring::readChosenRecord(m_places[place - 1]);

    for (int place = 1; place <= kPlaces; ++place) {
        if (const auto& record = records[std::size_t(place - 1)])
            fillLegendBox(place, *record);
    }
    // Curves go in place order, so the higher place lies on top where curves meet. A place
    // whose record cannot be read gets no curve, rather than the values of the place before.
    chart::Plotter plotter(picture);
    for (int place = 1; place <= kPlaces; ++place) {
        if (const auto& record = records[std::size_t(place - 1)])
            plotter.plot(record->scales, lookOf(place).color);
    }
}

void ComparisonChartWindow::fillLegendBox(int place, const scoring::ResultRecord& record) {
    QStringList lines = emptyLines();
    lines[0] = platform::formatDayCount(record.date);
    lines[1] = record.surname + u' ' + record.firstName;
    lines[2] =
        record.course + QStringLiteral(" -курс, ") + record.group + QStringLiteral(" -группа");
    lines[3] = scoring::entryModeText(record.manualEntry, scoring::ModeWords::LegendLine);
    setLines(legendBox(place), lines);
}

QStringList ComparisonChartWindow::legendLines() const {
    QStringList lines;
    for (int place = 1; place <= kPlaces; ++place) {
        lines << QString::fromUtf8(lookOf(place).word);
        for (int line = 0; line < kLegendLines - 1; ++line)
            lines << lineOf(legendBox(place), line);
    }
    return lines;
}
