#include "collect/test_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"
#include "collect/answer_keys.h"
#include "collect/subject_data_window.h"
#include "results/results_window.h"
#include "scoring/types.h"

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kLastStatement = scoring::kItems;

// The empty answer box, 19 x 19: a white square in a sunken two-pixel border.
const QImage& boxImage() {
    static const QImage image = [] {
        QImage result(19, 19, QImage::Format_RGB32);
        result.fill(Qt::white);
        QPainter painter(&result);
        const int last = 18;
        const auto frame = [&](int inset, const QColor& upperLeft, const QColor& lowerRight) {
            const int a = inset;
            const int b = last - inset;
            painter.setPen(upperLeft);
            painter.drawLine(a, a, b - 1, a);
            painter.drawLine(a, a, a, b - 1);
            painter.setPen(lowerRight);
            painter.drawLine(a, b, b, b);
            painter.drawLine(b, a, b, b);
        };
        frame(0, QColor(128, 128, 128), QColor(255, 255, 255));
        frame(1, QColor(64, 64, 64), QColor(212, 208, 200));
        return result;
    }();
    return image;
}

// The tick, 16 x 16 on a transparent ground.
const QImage& tickImage() {
    static const QImage image = [] {
        QImage result(16, 16, QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath tick;
        tick.moveTo(3.0, 8.0);
        tick.lineTo(6.5, 12.0);
        tick.lineTo(13.5, 3.0);
        painter.setPen(QPen(QColor(0, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
        return result;
    }();
    return image;
}

QPlainTextEdit* answerText(QWidget* parent, int left, int top, int width, int height) {
    QPlainTextEdit* result = ui::memo(parent, left, top, width, height, false);
    result->setFont(ui::font(13, ui::Bold));
    return result;
}

// An answer box: the picture at the top left of an element that takes clicks.
ui::ClickLabel* box(QWidget* parent, const QPixmap& picture, int left, int top, int width,
                    int height) {
    auto* result = new ui::ClickLabel(parent);
    result->setPixmap(picture);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setGeometry(left, top, width, height);
    return result;
}

// A tick; it takes no clicks, so a click on it does nothing.
QLabel* tick(QWidget* parent, const QPixmap& picture, int left, int top, int width, int height) {
    auto* result = new QLabel(parent);
    result->setPixmap(picture);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setGeometry(left, top, width, height);
    result->hide();
    return result;
}

} // namespace

TestWindow::TestWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedClientSize(686, 451);
    ui::bevel(this, 40, 56, 625, 337);

    Label1 = ui::label(this, QStringLiteral("Ответьте на вопросы"), 223, 22, ui::font(17, ui::Bold),
                       ui::kTeal);
    Label2 = ui::label(this, QStringLiteral("1"), 56, 92, ui::font(31));
    Memo1 = ui::memo(this, 116, 92, 533, 93, false);
    Memo1->setFont(ui::font(16, ui::Bold));

    const QPixmap boxPicture = QPixmap::fromImage(boxImage());
    const QPixmap tickPicture = QPixmap::fromImage(tickImage());
    Image1 = box(this, boxPicture, 94, 223, 27, 26);
    Image2 = box(this, boxPicture, 94, 282, 27, 23);
    Image3 = box(this, boxPicture, 96, 336, 25, 25);
    // The ticks lie over their boxes; a click on a shown tick does nothing.
    Image4 = tick(this, tickPicture, 94, 221, 19, 20);
    Image5 = tick(this, tickPicture, 96, 280, 17, 17);
    Image6 = tick(this, tickPicture, 96, 336, 17, 17);

    Memo2 = answerText(this, 128, 224, 497, 49);
    Memo3 = answerText(this, 128, 280, 497, 41);
    Memo4 = answerText(this, 128, 336, 497, 41);

    Button1 = ui::button(this, QStringLiteral("Продолжить"), 300, 408, 78, 24);

    on(Image1, &ui::ClickLabel::clicked, [this] { Image1Click(); });
    on(Image2, &ui::ClickLabel::clicked, [this] { Image2Click(); });
    on(Image3, &ui::ClickLabel::clicked, [this] { Image3Click(); });
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
}

void TestWindow::onCreated() {
    ui::hideWindow(app::state().Form4);
    m_reader.open();
    showItem(m_reader.readItem());
    ui::setText(Label2, QStringLiteral("1"));
    m_answeredCount = 0;
}

void TestWindow::onClosed() {
    m_reader.close();
    ui::closeWindow(app::state().Form4);
}

void TestWindow::Image1Click() {
    answerBoxClick(1);
}
void TestWindow::Image2Click() {
    answerBoxClick(2);
}
void TestWindow::Image3Click() {
    answerBoxClick(3);
}

void TestWindow::answerBoxClick(int answer) {
    Image4->setVisible(answer == 1);
    Image5->setVisible(answer == 2);
    Image6->setVisible(answer == 3);
}

int TestWindow::tickedAnswer() const {
    if (Image4->isVisibleTo(this))
        return 1;
    if (Image5->isVisibleTo(this))
        return 2;
    if (Image6->isVisibleTo(this))
        return 3;
    return 0;
}

void TestWindow::hideTicks() {
    Image4->hide();
    Image5->hide();
    Image6->hide();
}

void TestWindow::showItem(const collect::QuestionnaireItem& item) {
    Memo1->setPlainText(item.statement);
    Memo2->setPlainText(item.a);
    Memo3->setPlainText(item.b);
    Memo4->setPlainText(item.c);
}

void TestWindow::Button1Click() {
    const int answer = tickedAnswer();
    if (answer == 0)
        return; // refused silently: the statement stays on screen
    // Without the questionnaire no statement was shown, so there is nothing to answer and
    // nothing to score; the subject leaves by the window's frame.
    if (!m_reader.isOpen())
        return;

    app::AppState& state = app::state();
    if (m_answeredCount == kLastStatement - 1) {
        state.AnswerSheet.setAnswer(kLastStatement, quint8(answer));
        hideTicks();
        state.setManualEntry(0);
        openResults();
        return;
    }

    for (QPlainTextEdit* text : {Memo1, Memo2, Memo3, Memo4})
        text->clear();
    ++m_answeredCount;
    state.AnswerSheet.setAnswer(m_answeredCount, quint8(answer));
    hideTicks();
    const collect::QuestionnaireItem item = m_reader.readItem();
    ui::setText(Label2, QString::number(m_answeredCount + 1));
    showItem(item);
    if (m_answeredCount == kLastStatement - 1)
        Button1->setText(QStringLiteral("Закончить"));
}

// The results window hides this window when it is created and closes it when it closes, so
// once it is gone the chain unwinds to the main window.
void TestWindow::openResults() {
    ui::openWindow(this, app::state().Form6);
}

void TestWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Button1->click();
        return;
    }
    if (const int answer = collect::answerOfKey(*event)) {
        ui::guarded([this, answer] { answerBoxClick(answer); });
        return;
    }
    ChainWindow::keyPressEvent(event);
}
