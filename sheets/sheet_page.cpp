#include "sheets/sheet_page.h"

#include "scoring/types.h"
#include "sheets/print_text.h"
#include "sheets/qr_code.h"
#include "sheets/sheet_layout.h"

#include <QPainter>
#include <QPainterPath>

namespace sheets {

namespace {

const QColor kInk(0, 0, 0);
const QColor kCaptionInk(90, 90, 90);

void drawText(QPainter& painter, const QRectF& place, double height, const QString& text,
              int flags = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false,
              const QColor& colour = kInk) {
    drawTextLine(painter, place, TextStyle{height, bold, colour}, text, flags);
}

void drawQrCode(QPainter& painter, const QRectF& place, const QByteArray& text) {
    const QImage modules = qrCodeModules(text);
    constexpr int kQuietModules = 4;
    const double module = place.width() / (modules.width() + 2 * kQuietModules);
    const QPointF origin = place.topLeft() + QPointF(kQuietModules, kQuietModules) * module;
    // One path of all dark modules, each a run of a row, so no seams show between them.
    QPainterPath dark;
    for (int y = 0; y < modules.height(); ++y) {
        const uchar* line = modules.constScanLine(y);
        for (int x = 0; x < modules.width();) {
            if (line[x] != 0) {
                ++x;
                continue;
            }
            int end = x;
            while (end < modules.width() && line[end] == 0)
                ++end;
            dark.addRect(QRectF(origin.x() + x * module, origin.y() + y * module,
                                (end - x) * module, module));
            x = end;
        }
    }
    dark.setFillRule(Qt::WindingFill);
    painter.fillPath(dark, kInk);
}

// A field to write by hand: a frame with its caption small in the top-left corner and, on a
// named sheet, the printed value.
void drawField(QPainter& painter, const QRectF& place, const QString& caption,
               const QString& value) {
    painter.setPen(QPen(kCaptionInk, 0.25));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(place);
    drawText(painter, QRectF(place.left() + 1.2, place.top() + 0.6, place.width() - 2, 3.2), 2.6,
             caption, Qt::AlignLeft | Qt::AlignTop, false, kCaptionInk);
    if (!value.isEmpty()) {
        drawText(painter, QRectF(place.left() + 2, place.top() + 3.6, place.width() - 4, 6.4), 5.0,
                 value, Qt::AlignLeft | Qt::AlignVCenter, true);
    }
}

void drawNameArea(QPainter& painter, const QRectF& area, const SheetCode& code) {
    const scoring::Subject subject = code.subject.value_or(scoring::Subject{});
    const double row = 11.0;
    const double gap = 2.0;
    const double top = area.top();
    drawField(painter, QRectF(area.left(), top, area.width(), row), QStringLiteral("Фамилия"),
              subject.surname);
    drawField(painter, QRectF(area.left(), top + row + gap, area.width(), row),
              QStringLiteral("Имя"), subject.firstName);
    const double third = top + 2 * (row + gap);
    drawField(painter, QRectF(area.left(), third, 30, row), QStringLiteral("Курс"), subject.course);
    drawField(painter, QRectF(area.left() + 34, third, 40, row), QStringLiteral("Группа"),
              subject.group);
    drawField(painter, QRectF(area.left() + 78, third, area.width() - 78, row),
              QStringLiteral("Дата"), QString());
}

// The marking rule, with a drawn example of an answer and of a cancelled one.
void drawMarkingRule(QPainter& painter) {
    const double left = 15.0;
    drawText(painter, QRectF(left, 66.5, 140, 4.5), 3.4,
             QStringLiteral("Отметьте в каждой строке одну клетку крестиком: a, b или c."),
             Qt::AlignLeft | Qt::AlignVCenter, true);
    drawText(painter, QRectF(left, 71.5, 140, 4.5), 3.4,
             QStringLiteral("Передумали — закрасьте эту клетку целиком и поставьте крестик "
                            "в другой."));
    drawText(painter, QRectF(left, 76.5, 140, 4.5), 3.4,
             QStringLiteral("Пишите ручкой, не выходите за клетку, не сгибайте бланк."));

    const QRectF answer(162, 67.5, 5, 5);
    const QRectF cancelled(162, 74.5, 5, 5);
    painter.setPen(QPen(kInk, 0.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(answer);
    painter.setPen(QPen(kInk, 0.5));
    painter.drawLine(answer.topLeft() + QPointF(0.8, 0.8),
                     answer.bottomRight() - QPointF(0.8, 0.8));
    painter.drawLine(answer.topRight() + QPointF(-0.8, 0.8),
                     answer.bottomLeft() + QPointF(0.8, -0.8));
    painter.fillRect(cancelled, kInk);
    drawText(painter, QRectF(169, answer.top(), 28, 5), 3.2, QStringLiteral("ответ"));
    drawText(painter, QRectF(169, cancelled.top(), 28, 5), 3.2, QStringLiteral("отменён"));
}

void drawGrid(QPainter& painter, const SheetLayout& layout) {
    // The letters above every column's boxes.
    for (int column = 0; column < kColumns; ++column) {
        const int first = column * kRowsPerColumn + 1;
        for (char option : {'a', 'b', 'c'}) {
            const QRectF box = layout.box(first, option);
            drawText(painter, QRectF(box.left() - 1, box.top() - 5.5, box.width() + 2, 4.5), 3.6,
                     QString(QChar(option)), Qt::AlignHCenter | Qt::AlignBottom, true);
        }
    }
    painter.setPen(QPen(kInk, 0.3));
    painter.setBrush(Qt::NoBrush);
    for (const AnswerBox& box : layout.boxes) {
        painter.drawRect(box.rect);
        if (box.option == 'a') {
            drawText(painter, QRectF(box.rect.left() - 9.5, box.rect.top(), 8, box.rect.height()),
                     3.8, QString::number(box.item), Qt::AlignRight | Qt::AlignVCenter, true);
        }
    }
}

} // namespace

void drawAnswerSheet(QPainter& painter, const SheetCode& code) {
    const SheetLayout& layout = sheetLayout();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), layout.page), Qt::white);
    for (const QRectF& mark : layout.cornerMarks)
        painter.fillRect(mark, kInk);

    drawText(painter, QRectF(20, 9, 130, 7), 5.2, QStringLiteral("Тест Дорвела — бланк ответов"),
             Qt::AlignLeft | Qt::AlignVCenter, true);
    drawText(painter, QRectF(20, 16, 130, 5), 3.2,
             QStringLiteral("Утверждения — в буклете; ответы отмечайте только здесь."),
             Qt::AlignLeft | Qt::AlignVCenter, false, kCaptionInk);
    drawNameArea(painter, layout.nameArea, code);
    drawQrCode(painter, layout.qrCode, encodeSheetCode(code));
    drawText(painter,
             QRectF(layout.qrCode.left() - 4, layout.qrCode.bottom() + 0.5,
                    layout.qrCode.width() + 8, 4.5),
             3.4, QStringLiteral("№ %1").arg(code.serial, 6, 10, QChar(u'0')), Qt::AlignCenter,
             true);
    drawMarkingRule(painter);
    drawGrid(painter, layout);
    drawText(painter, QRectF(20, 282, 170, 6), 2.8,
             QStringLiteral("%1, версия %2. Не закрывайте чёрные квадраты по углам и код.")
                 .arg(code.form)
                 .arg(code.version),
             Qt::AlignCenter, false, kCaptionInk);
    painter.restore();
}

} // namespace sheets
