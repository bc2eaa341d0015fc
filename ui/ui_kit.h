#pragma once

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

// Named colours of the interface.
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kNavy(0, 0, 128);
inline const QColor kTeal(0, 128, 128);
inline const QColor kGreen(0, 128, 0);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kBlack(0, 0, 0);

enum Style { Plain = 0, Bold = 1, Underline = 2, Italic = 4 };

// The interface font (MS Sans Serif where it exists, else the closest metric match) at a
// pixel height; "8-point" is 11 pixels.
QFont font(int pixels, int style = Plain);
// The casual title font (Comic Sans MS where it exists, else a rounded face with Cyrillic).
QFont titleFont(int pixels, int style = Plain);

// The font narrowed, where needed, so that `text` fits `width` pixels: the windows keep the
// pixel sizes and positions they were laid out with, whatever face stands in for the original.
QFont fittedTo(QFont font, const QString& text, int width);

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
