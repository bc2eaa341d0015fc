#include "results/fitted_text.h"

#include "ui/ui_kit.h"

#include <QLabel>
#include <algorithm>

namespace results {

namespace {
// Below this height a text is no longer worth showing smaller; it is cut at its place instead.
constexpr int kSmallestPixels = 7;
} // namespace

void setFittedText(QLabel* label, const QString& text, const QFont& font, int width) {
    QFont sized = font;
    for (;;) {
        label->setFont(ui::fittedTo(sized, text, width));
        ui::setText(label, text);
        if (label->width() <= width || sized.pixelSize() <= kSmallestPixels)
            break;
        sized.setPixelSize(sized.pixelSize() - 1);
    }
    label->resize(std::min(label->width(), width), label->height());
}

} // namespace results
