#pragma once

#include <QLabel>

namespace collect {

// A picture element that takes clicks: the picture stands at the top left of the element,
// unscaled, and a press of the left mouse button on it emits clicked().
class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    ClickablePicture(QWidget* parent, const QPixmap& picture, int left, int top, int width,
                     int height);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace collect
