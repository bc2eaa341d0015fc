#include "export/group_report.h"

#include "export/pdf_page.h"
#include "export/pdf_report.h"
#include "export/stats_table.h"
#include "graphics/chart_colours.h"
#include "graphics/chart_geometry.h"
#include "platform/files.h"

#include <QBuffer>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <algorithm>

namespace exporting {

namespace {

using namespace pdf;

constexpr qreal kTextLine = 11.5;

// The band of one standard deviation either side of the mean.
const QColor kBand(200, 0, 0, 45);

// Keeps the place on the page and starts a new page when a block would run off this one.
class Pages {
public:
    Pages(QPdfWriter& writer, QPainter& painter) : m_writer(writer), m_painter(painter) {}

    qreal top = kTop;

    void need(qreal height) {
        if (top + height <= kBottom)
            return;
        m_writer.newPage();
        top = kTop;
    }

    void heading(const QString& text) {
        need(16 + 3 * kTextLine); // never a heading alone at the foot of a page
        m_painter.setFont(textFont(10.5, true));
        m_painter.setPen(kHeading);
        drawLine(m_painter, QRectF(kLeft, top, kWidth, 14), text);
        top += 17;
    }

    // A paragraph in the painter's font, broken into lines at `indent` from the margin.
    void paragraph(const QString& text, qreal indent = 0) {
        for (const QString& line : wrapLines(m_painter, text, kWidth - indent)) {
            need(kTextLine);
            drawLine(m_painter, QRectF(kLeft + indent, top, kWidth - indent, kTextLine), line);
            top += kTextLine;
        }
    }

private:
    QPdfWriter& m_writer;
    QPainter& m_painter;
};

// A list of texts for one line of the header: the first few, then how many more.
QString listed(const QStringList& values, const QString& none) {
    constexpr qsizetype kShown = 6;
    if (values.isEmpty())
        return none;
    if (values.size() <= kShown)
        return values.join(QStringLiteral(", "));
    return values.first(kShown).join(QStringLiteral(", ")) +
           QStringLiteral(" и ещё %1").arg(values.size() - kShown);
}

QString datesText(const scoring::ClassSummary& summary) {
    if (!summary.firstDate())
        return QStringLiteral("не указаны");
    const QString first = summary.firstDate()->toString(u"dd.MM.yyyy");
    const QString last = summary.lastDate()->toString(u"dd.MM.yyyy");
    return first == last ? first : first + QStringLiteral(" – ") + last;
}

// The mean profile with its band, in the chart picture's units. A scale nobody has a sten for
// breaks the curve and the band.
void drawMeanProfile(QPainter& painter, const scoring::GroupStatistics& statistics) {
    painter.setRenderHint(QPainter::Antialiasing);
    QList<QList<std::pair<int, scoring::ScaleStatistics>>> runs(1);
    for (int k = 1; k <= scoring::kScales; ++k) {
        const scoring::ScaleStatistics figures = statistics.scale(k);
        if (figures.mean)
            runs.back().append({k, figures});
        else if (!runs.back().isEmpty())
            runs.append(QList<std::pair<int, scoring::ScaleStatistics>>());
    }
    for (const auto& run : runs) {
        if (run.isEmpty())
            continue;
        QPolygonF band;
        for (const auto& [k, figures] : run)
            band << chartPoint(std::min(*figures.mean + figures.sd.value_or(0), 10.0), k);
        for (auto at = run.crbegin(); at != run.crend(); ++at)
            band << chartPoint(std::max(*at->second.mean - at->second.sd.value_or(0), 1.0),
                               at->first);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBand);
        painter.drawPolygon(band);
    }
    const qreal radius = chart::kMarkerSize / 2.0;
    for (const auto& run : runs) {
        QPainterPath line;
        painter.setPen(QPen(chart::kProfileCurve, 1));
        painter.setBrush(Qt::NoBrush);
        for (const auto& [k, figures] : run) {
            const QPointF point = chartPoint(*figures.mean, k);
            painter.drawEllipse(point, radius, radius);
            if (line.elementCount() == 0)
                line.moveTo(point);
            else
                line.lineTo(point);
        }
        painter.setPen(QPen(chart::kProfileCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(line);
    }
}

// Caption and value pairs beside the chart, then what the chart shows.
void drawAbout(QPainter& painter, const QPointF& topLeft, qreal width,
               const scoring::ClassSummary& summary, bool anonymous) {
    const std::pair<QString, QString> lines[] = {
        {QStringLiteral("Группа:"), listed(summary.groups(), QStringLiteral("не указана"))},
        {QStringLiteral("Курс:"), listed(summary.courses(), QStringLiteral("не указан"))},
        {QStringLiteral("Даты тестирования:"), datesText(summary)},
        {QStringLiteral("Число учащихся:"), QString::number(summary.students())},
    };
    qreal top = drawCaptioned(painter, topLeft, width, lines);
    top += 10;
    painter.setFont(textFont(8.5));
    painter.setPen(Qt::darkGray);
    QStringList notes = {
        QStringLiteral("Кривая — средний стен группы по каждой шкале;"),
        QStringLiteral("полоса — одно стандартное отклонение"),
        QStringLiteral("в обе стороны от среднего."),
        QString(),
        QStringLiteral("Стены от 1 до 10:"),
        QStringLiteral("1–3 — низкие значения,"),
        QStringLiteral("4–7 — средние значения,"),
        QStringLiteral("8–10 — высокие значения."),
    };
    if (anonymous)
        notes << QString() << QStringLiteral("Справка без имён учащихся.");
    for (const QString& note : notes) {
        drawLine(painter, QRectF(topLeft.x(), top, width, 12), note);
        top += 12;
    }
}

struct Column {
    qreal width;
    Qt::Alignment alignment;
    QString header;
};

// The statistics of the 17 scales, one row each, with the figures to two decimals.
void drawStatisticsTable(QPainter& painter, Pages& pages, const scoring::GroupStatistics& stats,
                         const scoring::Explanations& texts) {
    const Qt::Alignment number = Qt::AlignRight;
    const Column columns[] = {
        {26, Qt::AlignLeft, QStringLiteral("Шкала")},
        {62, Qt::AlignLeft, QStringLiteral("Фактор")},
        {137, Qt::AlignLeft, QStringLiteral("Полюсы")},
        {34, number, QStringLiteral("n")},
        {38, number, QStringLiteral("Среднее")},
        {30, number, QStringLiteral("СО")},
        {38, number, QStringLiteral("Медиана")},
        {26, number, QStringLiteral("Мин.")},
        {28, number, QStringLiteral("Макс.")},
        {30, number, QStringLiteral("1–3")},
        {32, number, QStringLiteral("4–7")},
        {34, number, QStringLiteral("8–10")},
    };
    auto drawRow = [&](qreal top, const QStringList& cells, qreal height) {
        qreal left = kLeft + 2;
        for (std::size_t c = 0; c < std::size(columns); ++c) {
            drawLine(painter, QRectF(left, top, columns[c].width - 4, height), cells[qsizetype(c)],
                     columns[c].alignment);
            left += columns[c].width;
        }
    };
    pages.need(kRowHeight * (scoring::kScales + 2));
    QStringList headers;
    for (const Column& column : columns)
        headers << column.header;
    painter.setFont(textFont(8, true));
    painter.setPen(kHeading);
    drawRow(pages.top, headers, kRowHeight + 2);
    pages.top += kRowHeight + 2;
    painter.setPen(QPen(kRule, 0.75));
    painter.drawLine(QPointF(kLeft, pages.top), QPointF(kLeft + kWidth, pages.top));

    const QChar comma = u',';
    for (int k = 1; k <= scoring::kScales; ++k) {
        const scoring::ScaleStatistics figures = stats.scale(k);
        const scoring::Explanation& entry = texts[std::size_t(k - 1)];
        if (k % 2 == 0)
            painter.fillRect(QRectF(kLeft, pages.top, kWidth, kRowHeight), kStripe);
        auto decimals = [comma](const std::optional<double>& value) {
            return value ? twoDecimals(*value, comma) : QStringLiteral("—");
        };
        auto whole = [](const std::optional<int>& value) {
            return value ? QString::number(*value) : QStringLiteral("—");
        };
        painter.setFont(textFont(8));
        painter.setPen(Qt::black);
        drawRow(pages.top,
                {QLatin1String(scoring::kScaleCodes[std::size_t(k - 1)]), entry.title,
                 polesText(entry.poles), QString::number(figures.n), decimals(figures.mean),
                 decimals(figures.sd), decimals(figures.median), whole(figures.min),
                 whole(figures.max), QString::number(figures.low), QString::number(figures.average),
                 QString::number(figures.high)},
                kRowHeight);
        pages.top += kRowHeight;
    }
    painter.setPen(QPen(kRule, 0.75));
    painter.drawLine(QPointF(kLeft, pages.top), QPointF(kLeft + kWidth, pages.top));
    pages.top += 4;
    painter.setFont(textFont(7.5));
    painter.setPen(Qt::darkGray);
    pages.paragraph(QStringLiteral(
        "n — число учащихся с оценкой по шкале (повреждённое значение не учтено); среднее, "
        "СО (стандартное отклонение) и медиана — в стенах; мин. и макс. — наименьший и "
        "наибольший стен; 1–3, 4–7, 8–10 — сколько учащихся с низкими, средними и высокими "
        "значениями."));
}

QString namesOrNone(const QStringList& names) {
    return names.isEmpty() ? QStringLiteral("нет") : names.join(QStringLiteral(", "));
}

void drawDesirableAnswers(QPainter& painter, Pages& pages, const scoring::ClassSummary& summary,
                          bool anonymous) {
    pages.heading(QStringLiteral("Достоверность ответов (шкала MD)"));
    painter.setFont(textFont(9));
    painter.setPen(Qt::black);
    pages.paragraph(QStringLiteral("Стен MD 8–10: ответы могли быть даны в желательном свете — "
                                   "результаты трактовать осторожно."));
    const QStringList names = summary.desirableAnswers();
    if (names.isEmpty())
        pages.paragraph(QStringLiteral("Таких учащихся нет."));
    else if (anonymous)
        pages.paragraph(QStringLiteral("Таких учащихся: %1.").arg(names.size()));
    else
        pages.paragraph(names.join(QStringLiteral(", ")) + u'.');
}

void drawBandLists(QPainter& painter, Pages& pages, const scoring::ClassSummary& summary,
                   const scoring::Explanations& texts) {
    pages.heading(QStringLiteral("Низкие и высокие значения по шкалам"));
    for (int k = 1; k <= scoring::kScales; ++k) {
        pages.need(3 * kTextLine + 4);
        painter.setFont(textFont(9, true));
        painter.setPen(Qt::black);
        const scoring::Explanation& entry = texts[std::size_t(k - 1)];
        QString title = QLatin1String(scoring::kScaleCodes[std::size_t(k - 1)]);
        if (!entry.poles.isEmpty())
            title += QStringLiteral(" — ") + polesText(entry.poles);
        pages.paragraph(title);
        painter.setFont(textFont(9));
        pages.paragraph(QStringLiteral("низкие (1–3): ") + namesOrNone(summary.lowStudents(k)), 12);
        pages.paragraph(QStringLiteral("высокие (8–10): ") + namesOrNone(summary.highStudents(k)),
                        12);
        pages.top += 4;
    }
}

} // namespace

QByteArray groupReportPdf(const scoring::ClassSummary& summary, const scoring::Explanations& texts,
                          bool anonymous) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        setUpA4(writer, QStringLiteral("Тест Дорвела: сводка по группе %1")
                            .arg(listed(summary.groups(), QString())));
        QPainter painter(&writer);
        Pages pages(writer, painter);
        painter.setFont(textFont(16, true));
        painter.setPen(kHeading);
        drawLine(painter, QRectF(kLeft, pages.top, kWidth, 22),
                 QStringLiteral("Тест Дорвела — сводка по группе"));
        pages.top += 30;

        drawChart(painter, QPointF(kLeft, pages.top), kChartScale,
                  [&summary](QPainter& chart) { drawMeanProfile(chart, summary.statistics()); });
        const qreal besideChart = kLeft + kChartSide + 16;
        drawAbout(painter, QPointF(besideChart, pages.top + 4), kLeft + kWidth - besideChart,
                  summary, anonymous);
        pages.top += kChartSide + 12;

        pages.heading(QStringLiteral("Статистика по шкалам"));
        drawStatisticsTable(painter, pages, summary.statistics(), texts);
        pages.top += 8;
        drawDesirableAnswers(painter, pages, summary, anonymous);
        if (!anonymous) {
            pages.top += 8;
            drawBandLists(painter, pages, summary, texts);
        }
        painter.end();
    }
    return bytes;
}

void writeGroupReport(const QString& pdfPath, const scoring::ClassSummary& summary,
                      const scoring::Explanations& texts, bool anonymous) {
    platform::saveWholeFile(pdfPath, groupReportPdf(summary, texts, anonymous));
}

} // namespace exporting
