#pragma once

#include "graphics/look.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

class QApplication;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Small builders for the fixed layouts of the windows: every control is placed at the pixel
// position its window gives, in the program's fonts and colours.
namespace ui {

// The program's fonts and named colours, defined below the windows (graphics/look.h) and used
// here under their short names.
using graphics::kBlack;
using graphics::kBlue;
using graphics::kGreen;
using graphics::kMaroon;
using graphics::kNavy;
using graphics::kRed;
using graphics::kTeal;
using graphics::Style;
using enum graphics::Style;
using graphics::fittedTo;
using graphics::font;
using graphics::titleFont;

// Places a window in the middle of the desktop's available area.
void centreOnDesktop(QWidget* window);

// The busy cursor while a window works (saving, waiting for a file's lock, writing a large
// table), restored however the work ends.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Sets the program's look on the application: style, interface font, palette.
void applyLook(QApplication& application);

void setTextColor(QWidget* widget, const QColor& color);

// A label at left, top that sizes itself to its text.
QLabel* label(QWidget* parent, const QString& text, int left, int top, const QFont& font,
              const QColor& color = kBlack);

// A label that takes clicks: a left-button press and release over it emit clicked().
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// A clickable label at left, top that sizes itself to its text.
ClickLabel* clickLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font,
                       const QColor& color = kBlack);

// Gives a label a new text; the label sizes itself to it, as every label of the windows does.
void setText(QLabel* label, const QString& text);
// A push button at a given place and size.
QPushButton* button(QWidget* parent, const QString& text, int left, int top, int width, int height);
// A single-line text field.
QLineEdit* field(QWidget* parent, const QString& text, int left, int top, int width, int height);
// A read-only multi-line text box; `framed` false gives a borderless box on the window's
// background colour.
QPlainTextEdit* memo(QWidget* parent, int left, int top, int width, int height, bool framed);
// A lowered bevel frame.
QFrame* bevel(QWidget* parent, int left, int top, int width, int height);

} // namespace ui
