#include "archive/arrow_pictures.h"

#include "ui/ui_kit.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace archive {

namespace {

// An arrow pointing right that fills a box of `length` x `breadth`: a shaft of half the
// breadth and a head of 40 % of the length.
QPainterPath rightArrow(qreal length, qreal breadth) {
    const qreal head = length * 0.4;
    const qreal shaftTop = breadth * 0.25;
    const qreal shaftBottom = breadth * 0.75;
    QPainterPath path;
    path.moveTo(0.5, shaftTop);
    path.lineTo(length - head, shaftTop);
    path.lineTo(length - head, 0.5);
    path.lineTo(length - 0.5, breadth / 2);
    path.lineTo(length - head, breadth - 0.5);
    path.lineTo(length - head, shaftBottom);
    path.lineTo(0.5, shaftBottom);
    path.closeSubpath();
    return path;
}

QPixmap drawArrow(int width, int height, const QPainterPath& path) {
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::kNavy);
    painter.drawPath(path);
    return picture;
}

} // namespace

QPixmap rightArrowPicture() {
    return drawArrow(37, 22, rightArrow(37, 22));
}

QPixmap downArrowPicture() {
    // The right arrow of 34 x 21 turned a quarter clockwise into 21 x 34.
    QTransform turn;
    turn.translate(21, 0);
    turn.rotate(90);
    return drawArrow(21, 34, turn.map(rightArrow(34, 21)));
}

} // namespace archive
