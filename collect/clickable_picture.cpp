#include "collect/clickable_picture.h"

#include <QMouseEvent>

namespace collect {

ClickablePicture::ClickablePicture(QWidget* parent, const QPixmap& picture, int left, int top,
                                   int width, int height)
    : QLabel(parent) {
    setPixmap(picture);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setGeometry(left, top, width, height);
}

void ClickablePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

} // namespace collect
