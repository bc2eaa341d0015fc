#include "ui/ui_kit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>

namespace ui {

void centreOnDesktop(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        window->move(desktop.x() + (desktop.width() - window->width()) / 2,
                     desktop.y() + (desktop.height() - window->height()) / 2);
    }
}

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

void applyLook(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setFont(font(11));
    QPalette palette = application.style()->standardPalette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    application.setPalette(palette);
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

static void placeLabel(QLabel* label, int left, int top, const QFont& font, const QColor& color) {
    label->setFont(font);
    setTextColor(label, color);
    label->setContentsMargins(0, 0, 0, 0);
    label->move(left, top);
    label->adjustSize();
}

QLabel* label(QWidget* parent, const QString& text, int left, int top, const QFont& font,
              const QColor& color) {
    auto* result = new QLabel(text, parent);
    placeLabel(result, left, top, font, color);
    return result;
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

ClickLabel* clickLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font,
                       const QColor& color) {
    auto* result = new ClickLabel(text, parent);
    placeLabel(result, left, top, font, color);
    return result;
}

void setText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

QPushButton* button(QWidget* parent, const QString& text, int left, int top, int width,
                    int height) {
    auto* result = new QPushButton(text, parent);
    result->setAutoDefault(false);
    result->setGeometry(left, top, width, height);
    return result;
}

QLineEdit* field(QWidget* parent, const QString& text, int left, int top, int width, int height) {
    auto* result = new QLineEdit(text, parent);
    result->setGeometry(left, top, width, height);
    return result;
}

QPlainTextEdit* memo(QWidget* parent, int left, int top, int width, int height, bool framed) {
    auto* result = new QPlainTextEdit(parent);
    result->setReadOnly(true);
    result->setGeometry(left, top, width, height);
    result->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    if (!framed) {
        result->setFrameShape(QFrame::NoFrame);
        result->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        result->setFocusPolicy(Qt::NoFocus);
        QPalette palette = result->palette();
        palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
        result->setPalette(palette);
        result->document()->setDocumentMargin(0);
    }
    return result;
}

QFrame* bevel(QWidget* parent, int left, int top, int width, int height) {
    auto* result = new QFrame(parent);
    result->setFrameStyle(QFrame::Box | QFrame::Sunken);
    result->setGeometry(left, top, width, height);
    result->lower();
    return result;
}

} // namespace ui
