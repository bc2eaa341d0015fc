#include "ui/ui_kit.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMargins>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

namespace ui {

// The frame a window manager puts round a shown window; zero where it has none (yet).
static QMargins frameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// A window not yet shown has no frame to measure: take that of a window already shown, since
// the window manager frames the program's windows alike.
static QMargins expectedFrameMargins(const QWidget* window) {
    if (window->isVisible())
        return frameMargins(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && !frameMargins(other).isNull())
            return frameMargins(other);
    }
    return {};
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

void centreOnDesktop(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // move() places the frame's corner, so the whole frame is what is centred.
    const QRect desktop = screen->availableGeometry();
    const QSize outer = window->size().grownBy(expectedFrameMargins(window));
    window->move(desktop.x() + (desktop.width() - outer.width()) / 2,
                 desktop.y() + (desktop.height() - outer.height()) / 2);
}

namespace {

// Enter presses the button that has the keyboard focus, as Space does.
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) || key->isAutoRepeat())
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->isEnabled() || !button->isVisible()) // key events go to the focus
            return false;
        button->click();
        return true;
    }
};

} // namespace

// Text colours are given to enabled controls only: a disabled one keeps the style's grey.
static void setEnabledColor(QPalette& palette, QPalette::ColorRole role, const QColor& color) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, role, color);
}

void applyLook(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setFont(font(11));
    QPalette palette = application.style()->standardPalette();
    setEnabledColor(palette, QPalette::WindowText, Qt::black);
    setEnabledColor(palette, QPalette::ButtonText, Qt::black);
    setEnabledColor(palette, QPalette::Text, Qt::black);
    application.setPalette(palette);
    static QPointer<EnterPressesButton> enterFilter;
    if (!enterFilter) {
        enterFilter = new EnterPressesButton(&application);
        application.installEventFilter(enterFilter);
    }
}

// The palette `base` with `color` for the texts of enabled controls. Windows build dozens of
// labels on the same palette in a handful of colours: each palette is made once and shared.
static QPalette withTextColor(const QPalette& base, const QColor& color) {
    static qint64 baseKey = 0;
    static QHash<QRgb, QPalette> palettes;
    if (base.cacheKey() != baseKey) {
        palettes.clear();
        baseKey = base.cacheKey();
    }
    auto known = palettes.constFind(color.rgba());
    if (known == palettes.constEnd()) {
        QPalette palette = base;
        setEnabledColor(palette, QPalette::WindowText, color);
        setEnabledColor(palette, QPalette::Text, color);
        setEnabledColor(palette, QPalette::ButtonText, color);
        known = palettes.insert(color.rgba(), palette);
    }
    return *known;
}

void setTextColor(QWidget* widget, const QColor& color) {
    const QPalette& current = widget->palette();
    // A control that already shows its texts in that colour is left as it is.
    bool same = true;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            same = same && current.color(group, role) == color;
    }
    if (!same)
        widget->setPalette(withTextColor(current, color));
}

static void placeLabel(QLabel* label, int left, int top, const QFont& font, const QColor& color) {
    // Labels show names from result files and typed-in fields: never interpret them as markup.
    label->setTextFormat(Qt::PlainText);
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
