#pragma once

#include "scoring/types.h"
#include "ui/chain_window.h"

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace collect {

// One picture element of the answer grid, an empty box or a tick, at its place in the window's
// client area. Its picture is drawn at natural size from the element's upper left corner and
// clipped to the element; all boxes share one picture, all ticks another.
struct GridImage {
    QRect geometry;
    bool visible = true;
    QPixmap picture;
    bool hasPicture() const { return !picture.isNull(); }
};

// The area of the window that holds the 105 rows: boxes 1 to 315, ticks 316 to 630 (tick
// 315 + n over box n) and the number of every statement, drawn by this one widget. A press of
// the left button goes to the uppermost shown element under it, the later element lying over
// the earlier one: on a box it emits boxClicked(n); a shown tick swallows it. The grid also
// paints the highlight of the statement the keyboard answers next, from the moment keyboard
// entry begins (the grid is given the focus) or the statement is shown as the one to answer,
// and takes the keyboard focus on a click (it is not in the Tab order).
class AnswerGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStatements = 105;
    static constexpr int kBoxes = 315;

    explicit AnswerGrid(QWidget* parent);

    // Element n: 1 to 315 the boxes, 316 to 630 the ticks.
    const GridImage& image(int number) const { return m_images[std::size_t(number)]; }
    void setImageVisible(int number, bool visible);
    // Gives every box (boxes true) or every tick the one picture.
    void setPicture(bool boxes, const QPixmap& picture);
    // Reads the box and tick pictures of the data folder once and gives them to the elements;
    // fails with "Cannot open file "<name>". <reason>", the first failure stopping there.
    void loadPictures();
    // Shows the tick of `answer` (1 a, 2 b, 3 c) in row s and hides the row's other ticks;
    // 0 hides all three.
    void showAnswer(int statement, int answer);
    // A row to look at again (a doubtful row of a scanned sheet): its highlight is red.
    void setRowMarked(int statement, bool marked);
    bool isRowMarked(int statement) const { return m_marked[std::size_t(statement - 1)]; }
    // The element under a point of the grid that takes the press there; 0 where there is none.
    int imageAt(const QPoint& point) const;

    // Where the number of statement s is written: its top-left corner and its text.
    static QPoint numberPosition(int statement);

    int current() const { return m_current; }
    void setCurrent(int statement);
    // Makes s the current statement and highlights it, whether or not keyboard entry has begun.
    void showCurrent(int statement);
    // The highlight of statement s: behind its number and its three boxes.
    static QRect rowRect(int statement);

signals:
    void boxClicked(int box);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::array<GridImage, 2 * kBoxes + 1> m_images{}; // [0] unused
    std::array<bool, kStatements> m_marked{};
    int m_current = 1;
    bool m_currentShown = false; // keyboard entry has begun, or a statement was shown
};

} // namespace collect

// Manual entry of a paper answer sheet: a grid of 105 rows of three boxes in seven columns,
// the subject's surname, first name, course and group, and "результат", which opens the
// results with the window's answers and the four fields once every statement has an answer.
// The window hides its owner, the main window, while it is open and shows it again when it
// closes.
//
// Keyboard entry: the grid answers a current statement, which starts at 1 and is highlighted
// once the grid has first had the focus. The keys 1, 2, 3 (also a, b, c; а, б, в; and ф, и, с,
// the a, b, c keys of a Russian layout) answer it as a click on that box would and move on to
// the next one; Backspace, Left and Up move back, Right and Down forth. The grid has the keys
// only while it has the focus: a click on the grid gives it the focus, and Escape hands the
// focus to the grid from any control. The Tab order stays surname, first name, course, group,
// "результат", and the surname field has the focus when the window opens, so the text fields
// keep their own keys. "результат" with a statement unanswered shows the first such statement
// as the current one.
class ManualEntryWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    static constexpr int kStatements = collect::AnswerGrid::kStatements;
    static constexpr int kBoxes = collect::AnswerGrid::kBoxes; // ticks are 316 to 630
    static const QString kBoxPictureName;                      // "data\sq.bmp"
    static const QString kTickPictureName;                     // "data\check_icon.ico"
    // Reads a picture file once; fails with "Cannot open file "<name>". <reason>".
    static QPixmap loadPicture(const QString& name, const char* format);

    explicit ManualEntryWindow(QWidget* owner);

    // A click on box n (1 to 315): statement (n - 1) div 3 + 1, answer (n - 1) mod 3. The one
    // handler of all 315 boxes.
    void chooseBox(int box);

    // The 105 numbers, 315 boxes and 315 ticks.
    collect::AnswerGrid* grid() const { return m_grid; }
    // Box n (1 to 315), or tick 315 + n of box n; the grid lies at the client area's origin,
    // so an element's geometry is its place in the window.
    const collect::GridImage& imageAt(int number) const { return m_grid->image(number); }
    const collect::GridImage& box(int statement, int answer) const {
        return imageAt(3 * (statement - 1) + answer + 1);
    }
    const collect::GridImage& tick(int statement, int answer) const {
        return imageAt(kBoxes + 3 * (statement - 1) + answer + 1);
    }
    // The statement the keyboard answers next.
    int currentStatement() const { return m_grid->current(); }

    const scoring::AnswerSheet& answers() const { return m_answers; }
    // The four fields as they stand.
    scoring::Subject subject() const;

protected:
    void onCreated() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildSubjectFields();
    void moveCurrent(int step);
    void showResults(); // "результат"

    collect::AnswerGrid* m_grid = nullptr;
    QLabel* m_surnameCaption = nullptr;
    QLabel* m_firstNameCaption = nullptr;
    QLabel* m_courseCaption = nullptr;
    QLabel* m_groupCaption = nullptr;
    QLabel* m_incompleteWarning = nullptr; // "Не все ответы введены"
    QLineEdit* m_surnameEdit = nullptr;
    QLineEdit* m_firstNameEdit = nullptr;
    QLineEdit* m_courseEdit = nullptr;
    QLineEdit* m_groupEdit = nullptr;
    QPushButton* m_resultButton = nullptr;

    scoring::AnswerSheet m_answers;
};
