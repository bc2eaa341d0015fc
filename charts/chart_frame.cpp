#include "charts/chart_frame.h"

#include <QLabel>

namespace chart {

QLabel* pictureElement(QWidget* window, int top) {
    auto* element = new QLabel(window);
    element->setTextFormat(Qt::PlainText);
    element->setGeometry(0, top, kPictureSize, kPictureSize);
    element->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return element;
}

} // namespace chart
