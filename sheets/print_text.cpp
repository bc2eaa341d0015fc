#include "sheets/print_text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace sheets {

namespace {

constexpr int kFontUnits = 100;

QFont printFont(bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFontUnits);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

void drawTextLine(QPainter& painter, const QRectF& place, const TextStyle& style,
                  const QString& text, int flags) {
    const double scale = style.size / kFontUnits;
    painter.save();
    painter.setFont(printFont(style.bold));
    painter.setPen(style.colour);
    painter.translate(place.topLeft());
    painter.scale(scale, scale);
    painter.drawText(QRectF(0, 0, place.width() / scale, place.height() / scale),
                     flags | Qt::TextSingleLine, text);
    painter.restore();
}

double textWidth(const TextStyle& style, const QString& text) {
    return QFontMetricsF(printFont(style.bold)).horizontalAdvance(text) * style.size / kFontUnits;
}

double drawParagraph(QPainter* painter, const QPointF& topLeft, double width,
                     const TextStyle& style, const QString& text, double spacing) {
    const double scale = style.size / kFontUnits;
    const double lineHeight = kFontUnits * spacing;
    QTextLayout layout(text, printFont(style.bold));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width / scale);
        line.setPosition(QPointF(0, lines * lineHeight));
        ++lines;
    }
    layout.endLayout();
    if (painter) {
        painter->save();
        painter->setPen(style.colour);
        painter->translate(topLeft);
        painter->scale(scale, scale);
        layout.draw(painter, QPointF(0, 0));
        painter->restore();
    }
    return lines * lineHeight * scale;
}

} // namespace sheets
