#include "export/pdf_report.h"

#include "graphics/chart_colours.h"
#include "graphics/chart_geometry.h"
#include "graphics/chart_grid.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "scoring/entry_mode.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

namespace exporting {

namespace {

// The page is laid out in points: the writer's resolution is 72 dots per inch, so one unit of
// the painter is one point of the A4 page (595 x 842).
constexpr int kPointsPerInch = 72;
constexpr qreal kLeft = 40;
constexpr qreal kTop = 36;
constexpr qreal kWidth = 515; // the page less both margins

// The chart, drawn in the units of the chart picture and scaled onto the page.
constexpr qreal kChartScale = 0.54;
constexpr qreal kChartSide = chart::kPictureSize * kChartScale;

constexpr qreal kRowHeight = 12;

const QColor kHeading(0, 0, 128);
const QColor kRule(150, 166, 190);
const QColor kStripe(240, 244, 250);

// Liberation Sans, which has Cyrillic and which the writer embeds. Unhinted, so that text is
// placed by the font's own widths at any size.
QFont textFont(qreal points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The same face sized in the chart picture's pixels, as the chart windows label their rows.
QFont chartFont(int pixels, bool bold = false) {
    QFont font = textFont(10, bold);
    font.setPixelSize(pixels);
    return font;
}

qreal advance(const QPainter& painter, const QString& text) {
    return QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text);
}

// One line of text in `box`, vertically centred; a text too wide for its box is narrowed to
// fit rather than cut, so that all of it stays on the page and in the page's text.
void drawLine(QPainter& painter, const QRectF& box, const QString& text,
              Qt::Alignment alignment = Qt::AlignLeft) {
    const qreal width = advance(painter, text);
    if (width <= box.width()) {
        painter.drawText(box, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine), text);
        return;
    }
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / width, 1.0);
    painter.drawText(QRectF(0, 0, width, box.height()),
                     int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), text);
    painter.restore();
}

// A point of the chart picture: a one-pixel line at x covers x to x + 1, so the centre of
// what the windows draw at (x, y) lies at (x + 0.5, y + 0.5).
QPointF chartPoint(int x, int y) {
    return {x + 0.5, y + 0.5};
}

// A label of the chart: black on an opaque white box, its top-left corner at the point.
void drawChartLabel(QPainter& painter, int left, int top, const QString& text) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF box(left, top, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.drawText(box, int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), text);
}

// The profile chart as the profile chart window shows it, as lines and text instead of
// pixels: the grid of the chart picture, the pole labels and codes of the rows, the markers
// and the profile line, all placed by the shared chart geometry.
void drawChart(QPainter& painter, const QPointF& topLeft, const scoring::ScaleProfile& stens) {
    using namespace chart;
    painter.save();
    painter.translate(topLeft);
    painter.scale(kChartScale, kChartScale);
    painter.setClipRect(QRectF(0, 0, kPictureSize, kPictureSize));
    painter.fillRect(QRectF(0, 0, kPictureSize, kPictureSize), Qt::white);

    drawGrid(painter, chartFont(11, true), chartPoint);
    painter.setFont(chartFont(11));
    painter.setPen(Qt::black);
    drawRowLabels([&painter](int left, int top, const QString& text) {
        drawChartLabel(painter, left, top, text);
    });

    // The markers with the thin pen, then the line through them, as the window draws them.
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath line;
    const qreal radius = kMarkerSize / 2.0;
    painter.setPen(QPen(chart::kProfileCurve, 1));
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k <= int(stens.size()); ++k) {
        const QPointF point = chartPoint(stenX(stens[std::size_t(k - 1)]), rowY(k));
        painter.drawEllipse(point, radius, radius);
        if (k == 1)
            line.moveTo(point);
        else
            line.lineTo(point);
    }
    painter.setPen(QPen(chart::kProfileCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
    painter.restore();

    // A thin frame around the picture on the page.
    painter.setPen(QPen(kRule, 0.5));
    painter.drawRect(QRectF(topLeft, QSizeF(kChartSide, kChartSide)));
}

// The gist of a pole: the first sentence of its paragraph, without the leading "A-" or "A+".
// Without a paragraph, the chart's label of that pole.
QString poleGist(const scoring::Explanation& texts, int scale, bool high) {
    QString text = high ? texts.high : texts.low;
    const QString prefix =
        QLatin1String(scoring::kScaleCodes[std::size_t(scale - 1)]) + QChar(high ? u'+' : u'-');
    if (text.startsWith(prefix))
        text = text.mid(prefix.size()).trimmed();
    const qsizetype end = text.indexOf(QStringLiteral(". "));
    if (end >= 0)
        text.truncate(end + 1);
    if (text.isEmpty()) {
        const chart::RowLabels& row = chart::kRows[std::size_t(scale - 1)];
        text = QString::fromUtf8(high ? row.highPole : row.lowPole);
    }
    return text;
}

QString interpretation(quint8 sten, const scoring::Explanation& texts, int scale) {
    if (sten >= 1 && sten <= 3)
        return poleGist(texts, scale, false);
    if (sten >= 8 && sten <= 10)
        return poleGist(texts, scale, true);
    if (sten >= 4 && sten <= 7)
        return QStringLiteral("средние значения");
    return QStringLiteral("нет оценки: значение вне шкалы от 1 до 10");
}

void drawHeading(QPainter& painter, qreal top, const QString& text) {
    painter.setFont(textFont(10.5, true));
    painter.setPen(kHeading);
    drawLine(painter, QRectF(kLeft, top, kWidth, 14), text);
}

// Caption and value pairs, one per line, beside the chart.
void drawSubject(QPainter& painter, const QPointF& topLeft, qreal width,
                 const scoring::ResultRecord& record) {
    const QString date = platform::formatDayCount(record.date);
    const std::pair<QString, QString> lines[] = {
        {QStringLiteral("Фамилия:"), record.surname},
        {QStringLiteral("Имя:"), record.firstName},
        {QStringLiteral("Курс:"), record.course},
        {QStringLiteral("Группа:"), record.group},
        {QStringLiteral("Дата тестирования:"),
         date.isEmpty() ? QStringLiteral("не указана") : date},
        {QStringLiteral("Ответы:"),
         scoring::entryModeText(record.manualEntry, scoring::ModeWords::ReportLine)},
    };
    constexpr qreal kCaptionWidth = 100;
    constexpr qreal kLineHeight = 17;
    qreal top = topLeft.y();
    for (const auto& [caption, value] : lines) {
        painter.setFont(textFont(9.5));
        painter.setPen(Qt::darkGray);
        drawLine(painter, QRectF(topLeft.x(), top, kCaptionWidth, kLineHeight), caption);
        painter.setFont(textFont(10, true));
        painter.setPen(Qt::black);
        drawLine(painter,
                 QRectF(topLeft.x() + kCaptionWidth, top, width - kCaptionWidth, kLineHeight),
                 value);
        top += kLineHeight;
    }
    top += 10;
    painter.setFont(textFont(8.5));
    painter.setPen(Qt::darkGray);
    for (const QString& note :
         {QStringLiteral("Стены от 1 до 10:"), QStringLiteral("1–3 — низкие значения,"),
          QStringLiteral("4–7 — средние значения,"), QStringLiteral("8–10 — высокие значения.")}) {
        drawLine(painter, QRectF(topLeft.x(), top, width, 12), note);
        top += 12;
    }
}

struct Column {
    qreal left;
    qreal width;
    Qt::Alignment alignment;
};

// The 17 scales: code, factor title, its poles, the sten. Returns the bottom of the table.
qreal drawScaleTable(QPainter& painter, qreal top, const scoring::ResultRecord& record,
                     const scoring::Explanations& texts) {
    const Column code{kLeft + 4, 30, Qt::AlignLeft};
    const Column title{kLeft + 38, 78, Qt::AlignLeft};
    const Column poles{kLeft + 120, kWidth - 120 - 44, Qt::AlignLeft};
    const Column sten{kLeft + kWidth - 40, 36, Qt::AlignHCenter};
    const Column columns[] = {code, title, poles, sten};
    const QString headers[] = {QStringLiteral("Шкала"), QStringLiteral("Фактор"),
                               QStringLiteral("Полюсы"), QStringLiteral("Стен")};

    painter.setFont(textFont(8.5, true));
    painter.setPen(kHeading);
    for (std::size_t c = 0; c < std::size(columns); ++c)
        drawLine(painter, QRectF(columns[c].left, top, columns[c].width, kRowHeight + 2),
                 headers[c], columns[c].alignment);
    top += kRowHeight + 2;
    painter.setPen(QPen(kRule, 0.75));
    painter.drawLine(QPointF(kLeft, top), QPointF(kLeft + kWidth, top));

    for (int k = 1; k <= scoring::kScales; ++k) {
        const scoring::Explanation& entry = texts[std::size_t(k - 1)];
        const QRectF row(kLeft, top, kWidth, kRowHeight);
        if (k % 2 == 0)
            painter.fillRect(row, kStripe);
        const QString cells[] = {QLatin1String(scoring::kScaleCodes[std::size_t(k - 1)]),
                                 entry.title, polesText(entry.poles),
                                 QString::number(record.scales[std::size_t(k - 1)])};
        for (std::size_t c = 0; c < std::size(columns); ++c) {
            painter.setFont(textFont(8.5, c == 0 || c == 3));
            painter.setPen(Qt::black);
            drawLine(painter, QRectF(columns[c].left, top, columns[c].width, kRowHeight), cells[c],
                     columns[c].alignment);
        }
        top += kRowHeight;
    }
    painter.setPen(QPen(kRule, 0.75));
    painter.drawLine(QPointF(kLeft, top), QPointF(kLeft + kWidth, top));
    return top;
}

// One line per scale: code, sten and what the sten says.
void drawInterpretation(QPainter& painter, qreal top, const scoring::ResultRecord& record,
                        const scoring::Explanations& texts) {
    for (int k = 1; k <= scoring::kScales; ++k) {
        const quint8 sten = record.scales[std::size_t(k - 1)];
        painter.setPen(Qt::black);
        painter.setFont(textFont(8.5, true));
        drawLine(painter, QRectF(kLeft + 4, top, 26, kRowHeight),
                 QLatin1String(scoring::kScaleCodes[std::size_t(k - 1)]));
        drawLine(painter, QRectF(kLeft + 30, top, 18, kRowHeight), QString::number(sten),
                 Qt::AlignRight);
        painter.setFont(textFont(8.5));
        drawLine(painter, QRectF(kLeft + 56, top, kWidth - 56, kRowHeight),
                 interpretation(sten, texts[std::size_t(k - 1)], k));
        top += kRowHeight;
    }
}

} // namespace

QString polesText(const QString& poles) {
    if (poles.size() >= 2 && poles.startsWith(u'"') && poles.endsWith(u'"'))
        return poles.mid(1, poles.size() - 2).trimmed();
    return poles;
}

QByteArray reportPdf(const scoring::ResultRecord& record, const scoring::Explanations& texts) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPointsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        writer.setTitle(
            QStringLiteral("Тест Дорвела: %1 %2").arg(record.surname, record.firstName));
        writer.setCreator(QStringLiteral("Тест Дорвела"));

        QPainter painter(&writer);
        qreal top = kTop;
        painter.setFont(textFont(16, true));
        painter.setPen(kHeading);
        drawLine(painter, QRectF(kLeft, top, kWidth, 22),
                 QStringLiteral("Тест Дорвела — результаты тестирования"));
        top += 30;

        drawChart(painter, QPointF(kLeft, top), record.scales);
        const qreal besideChart = kLeft + kChartSide + 16;
        drawSubject(painter, QPointF(besideChart, top + 4), kLeft + kWidth - besideChart, record);
        top += kChartSide + 10;

        drawHeading(painter, top, QStringLiteral("Шкалы"));
        top = drawScaleTable(painter, top + 16, record, texts) + 10;

        drawHeading(painter, top, QStringLiteral("Интерпретация"));
        drawInterpretation(painter, top + 16, record, texts);
        painter.end();
    }
    return bytes;
}

void writeReport(const QString& pdfPath, const scoring::ResultRecord& record,
                 const scoring::Explanations& texts) {
    platform::saveWholeFile(pdfPath, reportPdf(record, texts));
}

QString reportFileName(const QString& resultFile, qint64 index) {
    QString name = resultFile;
    name.replace(u'\\', u'/');
    return QFileInfo(name).completeBaseName() + u'_' + QString::number(index) +
           QStringLiteral(".pdf");
}

} // namespace exporting
