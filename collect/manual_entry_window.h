#pragma once

#include "app/chain_window.h"

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace collect {

// One picture element of the answer grid, an empty box or a tick: the picture is drawn at its
// natural size from the element's upper left corner and clipped to the element. Many elements
// share one picture. An element that takes clicks emits clicked() on a left-button press; one
// that does not (a tick) still swallows the press, so the box beneath it gets nothing.
class GridPicture : public QWidget {
    Q_OBJECT
public:
    GridPicture(QWidget* parent, int left, int top, int width, int height, bool takesClicks);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    bool m_takesClicks;
};

// The area of the window that holds the 105 rows of boxes. It paints the highlight of the
// statement that the keyboard answers next, behind that row's number and boxes, and takes the
// keyboard focus on a click (it is not in the Tab order).
class AnswerGrid : public QWidget {
    Q_OBJECT
public:
    explicit AnswerGrid(QWidget* parent);

    int current() const { return m_current; }
    void setCurrent(int statement);
    // The highlight of statement s: behind its number label and its three boxes.
    static QRect rowRect(int statement);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_current = 1;
};

} // namespace collect

// Manual entry of a paper answer sheet: a grid of 105 rows of three boxes in seven columns,
// the subject's surname, first name, course and group, and "результат", which opens the
// results once every statement has an answer. The four fields are not copied anywhere: the
// results window and the profile chart read them here while this window waits, hidden.
//
// Keyboard entry: the grid answers a current statement, highlighted, which starts at 1.
// The keys 1, 2, 3 (also a, b, c; а, б, в; and ф, и, с, the a, b, c keys of a Russian layout)
// answer it as a click on that box would and move on to the next one; Backspace, Left and Up
// move back, Right and Down forth. The grid has the keys whenever no text field has the focus:
// a click on the grid gives it the focus, and Escape in a text field hands the focus to the
// grid. The Tab order stays surname, first name, course, group, "результат", and the surname
// field has the focus when the window opens, so the text fields keep their own keys.
class TForm10 : public app::ChainWindow {
    Q_OBJECT
public:
    static constexpr int kStatements = 105;
    static constexpr int kBoxes = 315;   // boxes 1 to 315, ticks 316 to 630
    static const QString kBoxPictureName;  // "data\sq.bmp"
    static const QString kTickPictureName; // "data\check_icon.ico"

    explicit TForm10(QWidget* owner);

    void Button1Click(); // "результат"
    // A click on box n (1 to 315): statement (n - 1) div 3 + 1, answer (n - 1) mod 3.
    void boxClick(int box);

    // Box n (1 to 315) or tick 315 + n of box n: the pictures of the grid by number.
    collect::GridPicture* imageAt(int number) const { return Image[std::size_t(number)]; }
    collect::GridPicture* box(int statement, int answer) const {
        return imageAt(3 * (statement - 1) + answer + 1);
    }
    collect::GridPicture* tick(int statement, int answer) const {
        return imageAt(kBoxes + 3 * (statement - 1) + answer + 1);
    }
    // The number label of statement s (1 to 105).
    QLabel* numberLabel(int statement) const { return numberLabels[std::size_t(statement - 1)]; }
    // The statement the keyboard answers next.
    int currentStatement() const;

    // Image[1] to Image[315] are the boxes, Image[316] to Image[630] their ticks; Image[0] is
    // unused, so that every element keeps its number.
    std::array<collect::GridPicture*, 2 * kBoxes + 1> Image{};
    std::array<QLabel*, kStatements> numberLabels{};
    collect::AnswerGrid* Grid = nullptr;
    QLabel* Label1 = nullptr; // "Фамилия:"
    QLabel* Label2 = nullptr; // "Имя:"
    QLabel* Label3 = nullptr; // "Курс:"
    QLabel* Label4 = nullptr; // "Группа:"
    QLabel* Label5 = nullptr; // "Не все ответы введены"
    QLineEdit* Edit1 = nullptr; // surname
    QLineEdit* Edit2 = nullptr; // first name
    QLineEdit* Edit3 = nullptr; // course
    QLineEdit* Edit4 = nullptr; // group
    QPushButton* Button1 = nullptr; // "результат"

protected:
    void FormCreate() override;
    void FormClose() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildGrid();
    void buildSubjectFields();
    // Reads a picture file once; fails with "Cannot open file "<name>". <reason>".
    static QPixmap loadPicture(const QString& name, const char* format);
    void moveCurrent(int step);
};
