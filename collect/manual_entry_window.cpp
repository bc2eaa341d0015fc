#include "collect/manual_entry_window.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/ui_kit.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "results/results_window.h"

#include <QKeyEvent>

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

const QString TForm10::kBoxPictureName = QStringLiteral("data\\sq.bmp");
const QString TForm10::kTickPictureName = QStringLiteral("data\\check_icon.ico");

namespace {

constexpr int kRowsPerColumn = 17;

int columnOf(int statement) { return (statement - 1) / kRowsPerColumn; }
int rowOf(int statement) { return (statement - 1) % kRowsPerColumn; }
int columnLeft(int statement) { return 40 + 104 * columnOf(statement); }
int rowTop(int statement) { return 40 + 24 * rowOf(statement); }

// The answer a key stands for: 1 to 3 for the digits 1 to 3, the letters a, b, c and а, б, в
// in either case, and ф, и, с, which the a, b and c keys give on a Russian layout; else 0.
int answerOfKey(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const QString text = event.text().toLower();
    if (text.size() != 1)
        return 0;
    static const QString keys[3] = {QStringLiteral("1aаф"), QStringLiteral("2bби"),
                                    QStringLiteral("3cвс")};
    for (int answer = 1; answer <= 3; ++answer) {
        if (keys[answer - 1].contains(text[0]))
            return answer;
    }
    return 0;
}

// A pale fill behind the current row: yellow while the grid has the keys, grey otherwise.
const QColor kCurrentRowWithKeys(255, 244, 176);
const QColor kCurrentRowWithoutKeys(226, 226, 226);

} // namespace

namespace collect {

GridPicture::GridPicture(QWidget* parent, int left, int top, int width, int height,
                         bool takesClicks)
    : QWidget(parent), m_takesClicks(takesClicks) {
    setGeometry(left, top, width, height);
}

void GridPicture::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void GridPicture::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void GridPicture::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (m_takesClicks && event->button() == Qt::LeftButton)
        emit clicked();
}

AnswerGrid::AnswerGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

QRect AnswerGrid::rowRect(int statement) {
    const int left = columnLeft(statement);
    return QRect(left - 26, rowTop(statement), 26 + 2 * 24 + 25 + 2, 25);
}

void AnswerGrid::setCurrent(int statement) {
    statement = std::clamp(statement, 1, TForm10::kStatements);
    if (statement == m_current)
        return;
    update(rowRect(m_current));
    m_current = statement;
    update(rowRect(m_current));
}

void AnswerGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rowRect(m_current), hasFocus() ? kCurrentRowWithKeys : kCurrentRowWithoutKeys);
}

void AnswerGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(rowRect(m_current));
}

void AnswerGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(rowRect(m_current));
}

} // namespace collect

TForm10::TForm10(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Ввод результатов"));
    setFixedClientSize(781, 468);
    buildGrid();
    buildSubjectFields();
}

void TForm10::buildGrid() {
    Grid = new collect::AnswerGrid(this);
    Grid->setGeometry(0, 0, 781, 468);
    const QFont numberFont = ui::font(11);
    for (int s = 1; s <= kStatements; ++s) {
        const QString number = QString::number(s);
        const int left = columnLeft(s) - (number.size() < 3 ? 16 : 24);
        numberLabels[std::size_t(s - 1)] = ui::label(Grid, number, left, rowTop(s) + 8, numberFont);
    }
    // Boxes first, then ticks, so that every tick lies over its box.
    for (int n = 1; n <= kBoxes; ++n) {
        const int s = (n - 1) / 3 + 1;
        const int k = (n - 1) % 3;
        auto* box = new collect::GridPicture(Grid, columnLeft(s) + 24 * k, rowTop(s), 25, 25, true);
        connect(box, &collect::GridPicture::clicked, this, [this, n] {
            Grid->setFocus(Qt::MouseFocusReason);
            platform::guarded([this, n] { boxClick(n); });
        });
        Image[std::size_t(n)] = box;
    }
    for (int n = 1; n <= kBoxes; ++n) {
        const collect::GridPicture* box = Image[std::size_t(n)];
        auto* tick = new collect::GridPicture(Grid, box->x(), box->y(), 17, 17, false);
        tick->hide();
        Image[std::size_t(kBoxes + n)] = tick;
    }
}

void TForm10::buildSubjectFields() {
    const QFont font = ui::font(11);
    Label1 = ui::label(this, QStringLiteral("Фамилия:"), 648, 136, font);
    Edit1 = ui::field(this, QStringLiteral("нет"), 648, 152, 121, 21);
    Label2 = ui::label(this, QStringLiteral("Имя:"), 648, 184, font);
    Edit2 = ui::field(this, QStringLiteral("нет"), 648, 200, 121, 21);
    Label3 = ui::label(this, QStringLiteral("Курс:"), 648, 232, font);
    Edit3 = ui::field(this, QStringLiteral("нет"), 648, 248, 121, 21);
    Label4 = ui::label(this, QStringLiteral("Группа:"), 648, 280, font);
    Edit4 = ui::field(this, QStringLiteral("нет"), 648, 296, 121, 21);
    Button1 = ui::button(this, QStringLiteral("результат"), 672, 352, 65, 25);
    Label5 = ui::label(this, QStringLiteral("Не все ответы введены"), 640, 384,
                       ui::font(11, ui::Bold | ui::Underline), ui::kRed);
    Label5->hide();

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    Edit1->setFocus();
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
}

QPixmap TForm10::loadPicture(const QString& name, const char* format) {
    const QByteArray local = platform::resolvePath(name).toLocal8Bit();
    const int fd = local.isEmpty() ? -1 : ::open(local.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = local.isEmpty() ? ENOENT : errno;
        throw platform::Error(platform::cannotOpenText(name, platform::systemReason(err)));
    }
    QByteArray bytes;
    {
        const platform::FileHandle file(fd);
        bytes = platform::readExactly(file, 0, platform::fileSize(file, name), name);
    }
    QPixmap picture;
    if (!picture.loadFromData(bytes, format)) {
        throw platform::Error(qstrcmp(format, "ICO") == 0 ? QStringLiteral("Icon image is not valid")
                                                          : QStringLiteral("Bitmap image is not valid"));
    }
    return picture;
}

void TForm10::FormCreate() {
    app::AppState& state = app::state();
    app::hideWindow(state.Form1);
    state.AnswerSheet.clear();
    // One picture each, shared by its 315 elements; a failure stops the loading there.
    const QPixmap boxPicture = loadPicture(kBoxPictureName, "BMP");
    for (int n = 1; n <= kBoxes; ++n)
        imageAt(n)->setPicture(boxPicture);
    const QPixmap tickPicture = loadPicture(kTickPictureName, "ICO");
    for (int n = kBoxes + 1; n <= 2 * kBoxes; ++n)
        imageAt(n)->setPicture(tickPicture);
}

void TForm10::FormClose() { app::showWindow(app::state().Form1); }

void TForm10::boxClick(int box) {
    const int statement = (box - 1) / 3 + 1;
    const int answer = (box - 1) % 3;
    for (int k = 0; k < 3; ++k)
        tick(statement, k)->setVisible(k == answer);
    app::state().AnswerSheet.setAnswer(statement, quint8(answer + 1));
    Grid->setCurrent(statement);
}

int TForm10::currentStatement() const { return Grid->current(); }

void TForm10::Button1Click() {
    app::AppState& state = app::state();
    for (int s = 1; s <= kStatements; ++s) {
        if (state.AnswerSheet.answer(s) == 0) {
            Label5->show(); // stays shown from now on
            return;
        }
    }
    state.setManualEntry(1);
    app::openWindow(this, state.Form6Manual);
}

void TForm10::moveCurrent(int step) { Grid->setCurrent(Grid->current() + step); }

void TForm10::keyPressEvent(QKeyEvent* event) {
    // Keys reach the window only when the focused control leaves them: the text fields keep
    // theirs, so these act while the grid (or the button) has the focus.
    if (const int answer = answerOfKey(*event)) {
        boxClick(3 * (Grid->current() - 1) + answer);
        moveCurrent(+1);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        Grid->setFocus(Qt::ShortcutFocusReason);
        return;
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
