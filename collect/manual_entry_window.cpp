#include "collect/manual_entry_window.h"

#include "collect/answer_keys.h"
#include "collect/subject_fields.h"
#include "graphics/picture_files.h"
#include "results/results_window.h"
#include "ui/ui_kit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

const QString ManualEntryWindow::kBoxPictureName = QStringLiteral("data\\sq.bmp");
const QString ManualEntryWindow::kTickPictureName = QStringLiteral("data\\check_icon.ico");

namespace {

constexpr int kRowsPerColumn = 17;

int columnOf(int statement) {
    return (statement - 1) / kRowsPerColumn;
}
int rowOf(int statement) {
    return (statement - 1) % kRowsPerColumn;
}
int columnLeft(int statement) {
    return 40 + 104 * columnOf(statement);
}
int rowTop(int statement) {
    return 40 + 24 * rowOf(statement);
}

// A pale fill behind the current row once keyboard entry has begun: yellow while the grid has
// the keys, grey otherwise.
const QColor kCurrentRowWithKeys(255, 244, 176);
const QColor kCurrentRowWithoutKeys(226, 226, 226);
// Rows to look at again, and the current one among them.
const QColor kMarkedRow(255, 200, 200);
const QColor kCurrentMarkedRow(255, 150, 150);

} // namespace

namespace collect {

AnswerGrid::AnswerGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setFont(ui::font(11));
    for (int n = 1; n <= kBoxes; ++n) {
        const int s = (n - 1) / 3 + 1;
        const int k = (n - 1) % 3;
        const QPoint corner(columnLeft(s) + 24 * k, rowTop(s));
        m_images[std::size_t(n)].geometry = QRect(corner, QSize(25, 25));
        GridImage& tick = m_images[std::size_t(kBoxes + n)];
        tick.geometry = QRect(corner, QSize(17, 17));
        tick.visible = false;
    }
}

void AnswerGrid::setImageVisible(int number, bool visible) {
    GridImage& image = m_images[std::size_t(number)];
    if (image.visible == visible)
        return;
    image.visible = visible;
    update(image.geometry);
}

void AnswerGrid::setPicture(bool boxes, const QPixmap& picture) {
    const int first = boxes ? 1 : kBoxes + 1;
    for (int n = first; n < first + kBoxes; ++n)
        m_images[std::size_t(n)].picture = picture;
    update();
}

void AnswerGrid::loadPictures() {
    // One picture each, shared by its 315 elements.
    setPicture(true, ManualEntryWindow::loadPicture(ManualEntryWindow::kBoxPictureName, "BMP"));
    setPicture(false, ManualEntryWindow::loadPicture(ManualEntryWindow::kTickPictureName, "ICO"));
}

void AnswerGrid::showAnswer(int statement, int answer) {
    for (int k = 1; k <= 3; ++k)
        setImageVisible(kBoxes + 3 * (statement - 1) + k, k == answer);
}

void AnswerGrid::setRowMarked(int statement, bool marked) {
    m_marked[std::size_t(statement - 1)] = marked;
    update(rowRect(statement));
}

int AnswerGrid::imageAt(const QPoint& point) const {
    for (int n = 2 * kBoxes; n >= 1; --n) {
        const GridImage& image = m_images[std::size_t(n)];
        if (image.visible && image.geometry.contains(point))
            return n;
    }
    return 0;
}

QPoint AnswerGrid::numberPosition(int statement) {
    // Numbers of three digits stand further left, so that all end short of the first box.
    return QPoint(columnLeft(statement) - (statement < 100 ? 16 : 24), rowTop(statement) + 8);
}

QRect AnswerGrid::rowRect(int statement) {
    const int left = columnLeft(statement);
    return QRect(left - 26, rowTop(statement), 26 + 2 * 24 + 25 + 2, 25);
}

void AnswerGrid::setCurrent(int statement) {
    statement = std::clamp(statement, 1, kStatements);
    if (statement == m_current)
        return;
    update(rowRect(m_current));
    m_current = statement;
    update(rowRect(m_current));
}

void AnswerGrid::showCurrent(int statement) {
    setCurrent(statement);
    if (m_currentShown)
        return;
    m_currentShown = true;
    update(rowRect(m_current));
}

void AnswerGrid::paintEvent(QPaintEvent* event) {
    const QRect exposed = event->rect();
    QPainter painter(this);
    for (int s = 1; s <= kStatements; ++s) {
        if (m_marked[std::size_t(s - 1)])
            painter.fillRect(rowRect(s), kMarkedRow);
    }
    if (m_currentShown) {
        const bool marked = m_marked[std::size_t(m_current - 1)];
        painter.fillRect(rowRect(m_current), marked       ? kCurrentMarkedRow
                                             : hasFocus() ? kCurrentRowWithKeys
                                                          : kCurrentRowWithoutKeys);
    }

    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    for (int s = 1; s <= kStatements; ++s) {
        const QString number = QString::number(s);
        const QRect place(numberPosition(s), metrics.size(Qt::TextSingleLine, number));
        if (place.intersects(exposed))
            painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, number);
    }
    // In element order, so that a later element lies over an earlier one.
    for (int n = 1; n <= 2 * kBoxes; ++n) {
        const GridImage& image = m_images[std::size_t(n)];
        if (!image.visible || !image.hasPicture() || !image.geometry.intersects(exposed))
            continue;
        const QRect source(QPoint(0, 0), image.picture.deviceIndependentSize().toSize().boundedTo(
                                             image.geometry.size()));
        painter.drawPixmap(image.geometry.topLeft(), image.picture, source);
    }
}

void AnswerGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const int number = imageAt(event->position().toPoint());
    if (number >= 1 && number <= kBoxes)
        emit boxClicked(number);
}

void AnswerGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // A click or Escape hands the grid the keys and so begins keyboard entry; the window merely
    // coming to the front gives back the focus the grid already had and begins nothing.
    if (event->reason() != Qt::ActiveWindowFocusReason)
        m_currentShown = true;
    update(rowRect(m_current));
}

void AnswerGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(rowRect(m_current));
}

} // namespace collect

ManualEntryWindow::ManualEntryWindow(QWidget* owner) : ChainWindow(owner, ui::Opener::Hide) {
    setWindowTitle(QStringLiteral("Ввод результатов"));
    setFixedClientSize(781, 468);
    // The grid covers the client area beneath the other controls: the seventh column reaches
    // under the right-hand side.
    m_grid = new collect::AnswerGrid(this);
    m_grid->setGeometry(0, 0, 781, 468);
    connect(m_grid, &collect::AnswerGrid::boxClicked, this,
            [this](int box) { ui::guarded([this, box] { chooseBox(box); }); });
    buildSubjectFields();
}

void ManualEntryWindow::buildSubjectFields() {
    const QFont font = ui::font(11);
    m_surnameCaption = ui::label(this, QStringLiteral("Фамилия:"), 648, 136, font);
    m_surnameEdit = collect::subjectField(this, scoring::kSurnameLength, 648, 152, 121, 21);
    m_firstNameCaption = ui::label(this, QStringLiteral("Имя:"), 648, 184, font);
    m_firstNameEdit = collect::subjectField(this, scoring::kFirstNameLength, 648, 200, 121, 21);
    m_courseCaption = ui::label(this, QStringLiteral("Курс:"), 648, 232, font);
    m_courseEdit = collect::subjectField(this, scoring::kCourseLength, 648, 248, 121, 21);
    m_groupCaption = ui::label(this, QStringLiteral("Группа:"), 648, 280, font);
    m_groupEdit = collect::subjectField(this, scoring::kGroupLength, 648, 296, 121, 21);
    m_resultButton = ui::button(this, QStringLiteral("результат"), 672, 352, 65, 25);
    m_incompleteWarning = ui::label(this, QStringLiteral("Не все ответы введены"), 640, 384,
                                    ui::font(11, ui::Bold | ui::Underline), ui::kRed);
    m_incompleteWarning->hide();

    m_surnameCaption->setObjectName(QStringLiteral("surnameCaption"));
    m_firstNameCaption->setObjectName(QStringLiteral("firstNameCaption"));
    m_courseCaption->setObjectName(QStringLiteral("courseCaption"));
    m_groupCaption->setObjectName(QStringLiteral("groupCaption"));
    m_surnameEdit->setObjectName(QStringLiteral("surnameEdit"));
    m_firstNameEdit->setObjectName(QStringLiteral("firstNameEdit"));
    m_courseEdit->setObjectName(QStringLiteral("courseEdit"));
    m_groupEdit->setObjectName(QStringLiteral("groupEdit"));
    m_resultButton->setObjectName(QStringLiteral("resultButton"));
    m_incompleteWarning->setObjectName(QStringLiteral("incompleteWarning"));

    setTabOrder(m_surnameEdit, m_firstNameEdit);
    setTabOrder(m_firstNameEdit, m_courseEdit);
    setTabOrder(m_courseEdit, m_groupEdit);
    setTabOrder(m_groupEdit, m_resultButton);
    m_surnameEdit->setFocus();
    m_surnameEdit->selectAll(); // typing at once replaces the initial "нет"
    on(m_resultButton, &QPushButton::clicked, [this] { showResults(); });
}

QPixmap ManualEntryWindow::loadPicture(const QString& name, const char* format) {
    return QPixmap::fromImage(graphics::loadPicture(
        name, format,
        qstrcmp(format, "ICO") == 0 ? QStringLiteral("Icon image is not valid")
                                    : QStringLiteral("Bitmap image is not valid")));
}

scoring::Subject ManualEntryWindow::subject() const {
    return {m_surnameEdit->text(), m_firstNameEdit->text(), m_courseEdit->text(),
            m_groupEdit->text()};
}

void ManualEntryWindow::onCreated() {
    m_answers.clear();
    m_grid->loadPictures();
}

void ManualEntryWindow::chooseBox(int box) {
    const int statement = (box - 1) / 3 + 1;
    const int answer = (box - 1) % 3;
    m_grid->showAnswer(statement, answer + 1);
    m_answers.setAnswer(statement, quint8(answer + 1));
    m_grid->setCurrent(statement);
}

// The results window hides this window when it is created and closes it when it closes.
void ManualEntryWindow::showResults() {
    for (int s = 1; s <= kStatements; ++s) {
        if (m_answers.answer(s) == 0) {
            m_incompleteWarning->show(); // stays shown from now on
            m_grid->showCurrent(s);      // the first statement still to answer
            return;
        }
    }
    ui::openWindow<ResultsWindow>(this, m_answers, subject(), scoring::EntryMode::Manual);
}

void ManualEntryWindow::moveCurrent(int step) {
    m_grid->setCurrent(m_grid->current() + step);
}

void ManualEntryWindow::keyPressEvent(QKeyEvent* event) {
    // Escape hands the keys to the grid from anywhere. The grid's own keys act only while it
    // has the focus: a key left over by a text field or by "результат" answers nothing.
    if (event->key() == Qt::Key_Escape) {
        m_grid->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (!m_grid->hasFocus()) {
        ChainWindow::keyPressEvent(event);
        return;
    }
    if (const int answer = collect::answerOfKey(*event)) {
        chooseBox(3 * (m_grid->current() - 1) + answer);
        moveCurrent(+1);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveCurrent(-1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveCurrent(+1);
        return;
    default:
        ChainWindow::keyPressEvent(event);
    }
}
