#pragma once

#include "sheets/scan_reader.h"
#include "sheets/sheet_layout.h"
#include "sheets/sheet_page.h"

#include <QImage>
#include <QPainter>

namespace testing {

// A page as the reader gives it: the sheet of `code` drawn at `dpi` with a cross in the box
// of every answer a, b or c of `answers` (105 characters, '-' empty, '?' doubtful, drawn as
// two crosses), and the names written in the name area of a blank sheet.
inline sheets::ScanPage scannedPage(const sheets::SheetCode& code, const QString& answers,
                                    const QString& handwriting = QString(), double dpi = 100) {
    sheets::ScanPage page;
    page.file = QStringLiteral("scan.pdf");
    page.page = 1;
    page.code = code;
    page.answers = answers;
    const sheets::SheetLayout& layout = sheets::sheetLayout();
    const double dotsPerMillimetre = dpi / 25.4;
    page.aligned = QImage((layout.page * dotsPerMillimetre).toSize(), QImage::Format_RGB32);
    page.aligned.setDotsPerMeterX(qRound(dotsPerMillimetre * 1000));
    page.aligned.setDotsPerMeterY(qRound(dotsPerMillimetre * 1000));
    QPainter painter(&page.aligned);
    painter.scale(dotsPerMillimetre, dotsPerMillimetre);
    sheets::drawAnswerSheet(painter, code);
    painter.setPen(QPen(QColor(20, 40, 160), 0.5));
    auto cross = [&painter](const QRectF& box) {
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    };
    for (int item = 1; item <= answers.size(); ++item) {
        const QChar answer = answers[item - 1];
        if (answer == u'?') {
            page.doubtful.append(item);
            cross(layout.box(item, 'a'));
            cross(layout.box(item, 'b'));
        } else if (answer != u'-') {
            cross(layout.box(item, char(answer.unicode())));
        }
    }
    if (!handwriting.isEmpty()) {
        QFont font(QStringLiteral("Comfortaa"));
        font.setPixelSize(6);
        painter.setFont(font);
        painter.drawText(layout.nameArea.topLeft() + QPointF(4, 9), handwriting);
    }
    return page;
}

} // namespace testing
