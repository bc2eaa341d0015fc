#include "graphics/answer_pictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace graphics {

const QImage& answerBoxPicture() {
    static const QImage image = [] {
        QImage result(19, 19, QImage::Format_RGB32);
        result.fill(Qt::white);
        QPainter painter(&result);
        const int last = 18;
        const auto frame = [&](int inset, const QColor& upperLeft, const QColor& lowerRight) {
            const int a = inset;
            const int b = last - inset;
            painter.setPen(upperLeft);
            painter.drawLine(a, a, b - 1, a);
            painter.drawLine(a, a, a, b - 1);
            painter.setPen(lowerRight);
            painter.drawLine(a, b, b, b);
            painter.drawLine(b, a, b, b);
        };
        frame(0, QColor(128, 128, 128), QColor(255, 255, 255));
        frame(1, QColor(64, 64, 64), QColor(212, 208, 200));
        return result;
    }();
    return image;
}

const QImage& tickPicture() {
    static const QImage image = [] {
        QImage result(16, 16, QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath tick;
        tick.moveTo(3.0, 8.0);
        tick.lineTo(6.5, 12.0);
        tick.lineTo(13.5, 3.0);
        painter.setPen(QPen(QColor(0, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
        return result;
    }();
    return image;
}

} // namespace graphics
