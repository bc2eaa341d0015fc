#include "export/pdf_report.h"

#include "export/pdf_page.h"
#include "export/record_reading.h"
#include "graphics/chart_colours.h"
#include "graphics/chart_geometry.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "scoring/entry_mode.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

namespace exporting {

namespace {

using namespace pdf;

// The profile chart as the profile chart window shows it, as lines and text instead of
// pixels: the markers and the profile line on the shared chart picture.
void drawProfile(QPainter& painter, const QPointF& topLeft, const scoring::ScaleProfile& stens) {
    pdf::drawChart(painter, topLeft, kChartScale, [&stens](QPainter& picture) {
        // The markers with the thin pen, then the line through them, as the window draws them.
        picture.setRenderHint(QPainter::Antialiasing);
        QPainterPath line;
        const qreal radius = chart::kMarkerSize / 2.0;
        picture.setPen(QPen(chart::kProfileCurve, 1));
        picture.setBrush(Qt::NoBrush);
        bool joined = false; // a point missing from a damaged record breaks the line
        for (int k = 1; k <= int(stens.size()); ++k) {
            const quint8 sten = stens[std::size_t(k - 1)];
            if (!isSten(sten)) {
                joined = false;
                continue;
            }
            const QPointF point = chartPoint(chart::stenX(sten), chart::rowY(k));
            picture.drawEllipse(point, radius, radius);
            if (joined)
                line.lineTo(point);
            else
                line.moveTo(point);
            joined = true;
        }
        picture.setPen(QPen(chart::kProfileCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        picture.drawPath(line);
    });
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

// A sten as the report shows it; nothing for a value outside 1 to 10.
QString stenText(quint8 sten) {
    return isSten(sten) ? QString::number(sten) : QString();
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
    qreal top = drawCaptioned(painter, topLeft, width, lines);
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
                                 stenText(record.scales[std::size_t(k - 1)])};
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
        drawLine(painter, QRectF(kLeft + 30, top, 18, kRowHeight), stenText(sten), Qt::AlignRight);
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

QByteArray reportPdf(const scoring::ResultRecord& stored, const scoring::Explanations& texts) {
    scoring::ResultRecord record = stored;
    cleanRecord(record);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        setUpA4(writer,
                QStringLiteral("Тест Дорвела: %1 %2").arg(record.surname, record.firstName));

        QPainter painter(&writer);
        qreal top = kTop;
        painter.setFont(textFont(16, true));
        painter.setPen(kHeading);
        drawLine(painter, QRectF(kLeft, top, kWidth, 22),
                 QStringLiteral("Тест Дорвела — результаты тестирования"));
        top += 30;

        drawProfile(painter, QPointF(kLeft, top), record.scales);
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
    const QByteArray pdf = reportPdf(record, texts);
    platform::OutputFile out(pdfPath);
    out.open();
    out.write(pdf);
    out.commit();
}

QString reportFileName(const QString& resultFile, qint64 index) {
    QString name = resultFile;
    name.replace(u'\\', u'/');
    return QFileInfo(name).completeBaseName() + u'_' + QString::number(index) +
           QStringLiteral(".pdf");
}

} // namespace exporting
