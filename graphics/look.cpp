#include "graphics/look.h"

#include <QFontMetrics>
#include <algorithm>

namespace graphics {

static QFont styled(QFont result, int pixels, int style) {
    result.setPixelSize(pixels);
    result.setBold(style & Bold);
    result.setUnderline(style & Underline);
    result.setItalic(style & Italic);
    return result;
}

QFont font(int pixels, int style) {
    QFont base;
    base.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    base.setStyleHint(QFont::SansSerif);
    return styled(base, pixels, style);
}

QFont titleFont(int pixels, int style) {
    QFont base;
    base.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comfortaa"),
                      QStringLiteral("Liberation Sans")});
    return styled(base, pixels, style);
}

QFont fittedTo(QFont font, const QString& text, int width) {
    const int natural = QFontMetrics(font).horizontalAdvance(text);
    if (natural > width)
        font.setStretch(std::max(50, 100 * width / natural));
    return font;
}

} // namespace graphics
