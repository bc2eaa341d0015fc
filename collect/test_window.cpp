#include "collect/test_window.h"

#include "collect/answer_keys.h"
#include "graphics/answer_pictures.h"
#include "results/results_window.h"
#include "ui/ui_kit.h"

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kLastStatement = scoring::kItems;

// Places of the answers' boxes, ticks and texts, index answer - 1: the boxes are not quite in
// line, and each tick sits at its box's corner.
constexpr QRect kBoxPlaces[3] = {{94, 223, 27, 26}, {94, 282, 27, 23}, {96, 336, 25, 25}};
constexpr QRect kTickPlaces[3] = {{94, 221, 19, 20}, {96, 280, 17, 17}, {96, 336, 17, 17}};
constexpr QRect kAnswerTextPlaces[3] = {
    {128, 224, 497, 49}, {128, 280, 497, 41}, {128, 336, 497, 41}};
const char* const kAnswerLetters[3] = {"A", "B", "C"};

QPlainTextEdit* answerText(QWidget* parent, const QRect& place) {
    QPlainTextEdit* result =
        ui::memo(parent, place.left(), place.top(), place.width(), place.height(), false);
    result->setFont(ui::font(13, ui::Bold));
    return result;
}

// An answer box: the picture at the top left of an element that takes clicks.
ui::ClickLabel* box(QWidget* parent, const QPixmap& picture, const QRect& place) {
    auto* result = new ui::ClickLabel(parent);
    result->setPixmap(picture);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setGeometry(place);
    return result;
}

// A tick; it takes no clicks, so a click on it does nothing.
QLabel* tick(QWidget* parent, const QPixmap& picture, const QRect& place) {
    auto* result = new QLabel(parent);
    result->setPixmap(picture);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setGeometry(place);
    result->hide();
    return result;
}

} // namespace

TestWindow::TestWindow(QWidget* owner, const scoring::Subject& subject)
    : ChainWindow(owner, ui::Opener::HideThenClose), m_subject(subject) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedClientSize(686, 451);
    ui::bevel(this, 40, 56, 625, 337);

    m_heading = ui::label(this, QStringLiteral("Ответьте на вопросы"), 223, 22,
                          ui::font(17, ui::Bold), ui::kTeal);
    m_statementNumber = ui::label(this, QStringLiteral("1"), 56, 92, ui::font(31));
    m_statementNumber->setObjectName(QStringLiteral("statementNumber"));
    m_statementText = ui::memo(this, 116, 92, 533, 93, false);
    m_statementText->setObjectName(QStringLiteral("statementText"));
    m_statementText->setFont(ui::font(16, ui::Bold));

    // Boxes first, then the ticks that lie over them, then the answer texts: a click on a
    // shown tick does nothing.
    const QPixmap boxPicture = QPixmap::fromImage(graphics::answerBoxPicture());
    const QPixmap tickPicture = QPixmap::fromImage(graphics::tickPicture());
    for (int k = 0; k < 3; ++k) {
        m_answerBoxes[k] = box(this, boxPicture, kBoxPlaces[k]);
        m_answerBoxes[k]->setObjectName(QStringLiteral("answerBox") + kAnswerLetters[k]);
    }
    for (int k = 0; k < 3; ++k) {
        m_ticks[k] = tick(this, tickPicture, kTickPlaces[k]);
        m_ticks[k]->setObjectName(QStringLiteral("tick") + kAnswerLetters[k]);
    }
    for (int k = 0; k < 3; ++k) {
        m_answerTexts[k] = answerText(this, kAnswerTextPlaces[k]);
        m_answerTexts[k]->setObjectName(QStringLiteral("answerText") + kAnswerLetters[k]);
    }

    m_continueButton = ui::button(this, QStringLiteral("Продолжить"), 300, 408, 78, 24);
    m_continueButton->setObjectName(QStringLiteral("continueButton"));

    for (int k = 0; k < 3; ++k)
        on(m_answerBoxes[k], &ui::ClickLabel::clicked, [this, k] { tickAnswer(k + 1); });
    on(m_continueButton, &QPushButton::clicked, [this] { continueTest(); });
}

void TestWindow::onCreated() {
    m_reader.open();
    showItem(m_reader.readItem());
    ui::setText(m_statementNumber, QStringLiteral("1"));
    m_answeredCount = 0;
}

void TestWindow::onClosed() {
    m_reader.close();
}

void TestWindow::tickAnswer(int answer) {
    for (int k = 0; k < 3; ++k)
        m_ticks[k]->setVisible(answer == k + 1);
}

int TestWindow::tickedAnswer() const {
    for (int k = 0; k < 3; ++k) {
        if (m_ticks[k]->isVisibleTo(this))
            return k + 1;
    }
    return 0;
}

void TestWindow::hideTicks() {
    for (QLabel* tick : m_ticks)
        tick->hide();
}

void TestWindow::showItem(const scoring::QuestionnaireItem& item) {
    m_statementText->setPlainText(item.statement);
    m_answerTexts[0]->setPlainText(item.a);
    m_answerTexts[1]->setPlainText(item.b);
    m_answerTexts[2]->setPlainText(item.c);
}

void TestWindow::continueTest() {
    const int answer = tickedAnswer();
    if (answer == 0)
        return; // refused silently: the statement stays on screen
    // Without the questionnaire no statement was shown, so there is nothing to answer and
    // nothing to score; the subject leaves by the window's frame.
    if (!m_reader.isOpen())
        return;

    if (m_answeredCount == kLastStatement - 1) {
        m_answers.setAnswer(kLastStatement, quint8(answer));
        hideTicks();
        openResults();
        return;
    }

    m_statementText->clear();
    for (QPlainTextEdit* text : m_answerTexts)
        text->clear();
    ++m_answeredCount;
    m_answers.setAnswer(m_answeredCount, quint8(answer));
    hideTicks();
    const scoring::QuestionnaireItem item = m_reader.readItem();
    ui::setText(m_statementNumber, QString::number(m_answeredCount + 1));
    showItem(item);
    if (m_answeredCount == kLastStatement - 1)
        m_continueButton->setText(QStringLiteral("Закончить"));
}

// The results window hides this window when it is created and closes it when it closes, so
// once it is gone the chain unwinds to the main window.
void TestWindow::openResults() {
    ui::openWindow<ResultsWindow>(this, m_answers, m_subject, scoring::EntryMode::Test);
}

void TestWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_continueButton->click();
        return;
    }
    if (const int answer = collect::answerOfKey(*event)) {
        ui::guarded([this, answer] { tickAnswer(answer); });
        return;
    }
    ChainWindow::keyPressEvent(event);
}
