#include "results/results_window.h"

#include "app/app_state.h"
#include "results/exit_confirm_window.h"
#include "ui/ui_kit.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "platform/dates.h"
#include "results/explanation_window.h"
#include "results/explanations.h"
#include "results/profile_chart_window.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/stens.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace {

const QString kNone = QStringLiteral("Нет");

// Captions of the scale links; Л stands for MD throughout the explanations.
const std::array<QString, 17> kLinkCaptions = {
    QStringLiteral("Л____"), QStringLiteral("A____"), QStringLiteral("B____"),
    QStringLiteral("C____"), QStringLiteral("E____"), QStringLiteral("F____"),
    QStringLiteral("G____"), QStringLiteral("H____"), QStringLiteral("I_____"),
    QStringLiteral("L____"), QStringLiteral("M____"), QStringLiteral("N____"),
    QStringLiteral("O____"), QStringLiteral("Q1___"), QStringLiteral("Q2___"),
    QStringLiteral("Q3___"), QStringLiteral("Q4___")};

// The item-score columns: left edge, width and height of each.
struct ColumnPlace {
    int left;
    int width;
    int height;
};
constexpr std::array<ColumnPlace, 7> kColumns = {{{280, 17, 233},
                                                  {296, 17, 233},
                                                  {312, 17, 233},
                                                  {329, 16, 233},
                                                  {344, 17, 233},
                                                  {360, 17, 233},
                                                  {376, 17, 49}}};
constexpr int kColumnTop = 72;
constexpr int kRows = 17;

// A narrow framed column that shows one value per line; every column uses the same font and
// margins, so that line k of each stands level with line k of the others.
QPlainTextEdit* valueColumn(QWidget* parent, int left, int width, int height) {
    QPlainTextEdit* column = ui::memo(parent, left, kColumnTop, width, height, true);
    column->setFont(ui::font(11));
    column->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setFrameStyle(QFrame::Box | QFrame::Plain);
    column->setLineWidth(1);
    column->document()->setDocumentMargin(1);
    return column;
}

} // namespace

ResultsWindow::ResultsWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Результаты теста"));
    setFixedClientSize(688, 453);

    Label1 = ui::label(this, QStringLiteral("Результаты:"), 24, 16,
                       ui::font(16, ui::Bold | ui::Underline), ui::kRed);
    buildSubjectBox();
    buildRawScoreBox();
    buildStenBox();

    Label51 = ui::label(this, QStringLiteral("Сохранено в базе"), 32, 320, ui::font(19, ui::Bold),
                        ui::kNavy);

    Button1 = ui::button(this, QStringLiteral("График"), 376, 368, 81, 25);
    Button1->setFont(ui::font(13, ui::Bold));
    ui::setTextColor(Button1, ui::kNavy);
    Button2 = ui::button(this, QStringLiteral("Выход"), 80, 368, 81, 25);
    Button3 = ui::button(this, QStringLiteral("Сохранить"), 80, 416, 81, 25);
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button3, &QPushButton::clicked, [this] { Button3Click(); });
}

void ResultsWindow::buildSubjectBox() {
    Bevel1 = ui::bevel(this, 8, 64, 249, 177);
    const QStringList captions = {QStringLiteral("Дата:"), QStringLiteral("Фамилия:"),
                                  QStringLiteral("Имя:"), QStringLiteral("Курс:"),
                                  QStringLiteral("Группа:")};
    QLabel** captionLabels[] = {&Label2, &Label3, &Label4, &Label5, &Label6};
    QLabel** valueLabels[] = {&Label7, &Label8, &Label9, &Label10, &Label11};
    for (int row = 0; row < 5; ++row) {
        const int top = 80 + 32 * row;
        *captionLabels[row] =
            ui::label(this, captions[row], 16, top, ui::font(13, ui::Bold), ui::kRed);
        *valueLabels[row] = ui::label(this, kNone, 96, top, ui::font(16, ui::Bold), ui::kBlue);
    }
}

void ResultsWindow::buildRawScoreBox() {
    Bevel2 = ui::bevel(this, 272, 40, 201, 281);
    Label12 = ui::label(this, QStringLiteral("Сырые оценки:"), 280, 48,
                        ui::font(16, ui::Bold | ui::Underline));
    QPlainTextEdit** named[] = {&Memo1, &Memo2, &Memo3, &Memo4, &Memo5, &Memo6, &Memo7};
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        *named[c] = valueColumn(this, kColumns[c].left, kColumns[c].width, kColumns[c].height);
        itemColumns[c] = *named[c];
    }
    Memo8 = valueColumn(this, 416, 25, 233);
}

void ResultsWindow::buildStenBox() {
    Bevel3 = ui::bevel(this, 488, 40, 137, 369);
    Bevel4 = ui::bevel(this, 496, 88, 121, 281);
    Label13 = ui::label(this, QStringLiteral("Стандартные"), 496, 48,
                        ui::font(16, ui::Bold | ui::Underline));
    Label14 = ui::label(this, QStringLiteral("(Стены)"), 496, 72, ui::font(13, ui::Bold));
    void (ResultsWindow::*handlers[])() = {
        &ResultsWindow::Label15Click, &ResultsWindow::Label16Click, &ResultsWindow::Label17Click, &ResultsWindow::Label18Click,
        &ResultsWindow::Label19Click, &ResultsWindow::Label20Click, &ResultsWindow::Label21Click, &ResultsWindow::Label22Click,
        &ResultsWindow::Label23Click, &ResultsWindow::Label24Click, &ResultsWindow::Label25Click, &ResultsWindow::Label26Click,
        &ResultsWindow::Label27Click, &ResultsWindow::Label28Click, &ResultsWindow::Label29Click, &ResultsWindow::Label30Click,
        &ResultsWindow::Label31Click};
    for (std::size_t k = 0; k < scaleLinks.size(); ++k) {
        const int top = 96 + 16 * int(k);
        ui::ClickLabel* link =
            ui::clickLabel(this, kLinkCaptions[k], 528, top, ui::font(11, ui::Underline), ui::kRed);
        link->setCursor(Qt::PointingHandCursor);
        const auto handler = handlers[k];
        on(link, &ui::ClickLabel::clicked, [this, handler] { (this->*handler)(); });
        scaleLinks[k] = link;
        stenLabels[k] = ui::label(this, kNone, 560, top, ui::font(11), ui::kBlue);
    }
    Label49 = ui::label(this, QStringLiteral("Клик для подробной"), 496, 376, ui::font(11));
    Label50 = ui::label(this, QStringLiteral("информации"), 496, 392, ui::font(11));
}

QWidget* ResultsWindow::opener() const {
    if (app::state().manualEntry() == 1)
        return app::state().Form10;
    return app::state().Form5;
}

std::array<QString, 4> ResultsWindow::subjectTexts() const {
    std::array<QLineEdit*, 4> fields{};
    if (app::state().manualEntry() == 1) {
        if (const ManualEntryWindow* form = app::state().Form10)
            fields = {form->Edit1, form->Edit2, form->Edit3, form->Edit4};
    } else if (const SubjectDataWindow* form = app::state().Form4) {
        fields = {form->Edit1, form->Edit2, form->Edit3, form->Edit4};
    }
    std::array<QString, 4> texts;
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts[i] = fields[i] ? fields[i]->text() : QString();
    return texts;
}

void ResultsWindow::onCreated() {
    app::AppState& state = app::state();
    state.SavedFlag = 0;
    m_scored = false;
    Button1->setEnabled(false);
    Button3->setEnabled(false);
    ui::hideWindow(opener());
    Label51->hide();

    ui::setText(Label7, platform::formatShortDate(QDate::currentDate()));
    const std::array<QString, 4> subject = subjectTexts();
    QLabel* values[] = {Label8, Label9, Label10, Label11};
    for (std::size_t i = 0; i < subject.size(); ++i)
        ui::setText(values[i], subject[i]);

    const scoring::Scores scores = scoring::scoreSheet(scoring::loadKey(), state.AnswerSheet);

    for (std::size_t c = 0; c < itemColumns.size(); ++c) {
        QStringList digits;
        for (int item = kRows * int(c) + 1; item <= std::min(kRows * int(c + 1), scoring::kItems);
             ++item)
            digits << QString::number(scores.items[std::size_t(item - 1)]);
        itemColumns[c]->setPlainText(digits.join(u'\n'));
    }
    // Each total is followed by spaces to a common width, so the column reads evenly.
    QStringList totals;
    for (const quint8 raw : scores.raw)
        totals << QString::number(raw) + QString(raw < 10 ? 3 : 1, u' ');
    Memo8->setPlainText(totals.join(u'\n'));

    state.Profile = scoring::toStens(scores.raw);
    for (std::size_t k = 0; k < stenLabels.size(); ++k)
        ui::setText(stenLabels[k], QString::number(state.Profile[k]));

    m_scored = true;
    Button1->setEnabled(true);
    Button3->setEnabled(true);
}

void ResultsWindow::onClosed() {
    ui::closeWindow(opener());
}

void ResultsWindow::Button1Click() {
    // After a key error nothing was scored: the shared profile is still the previous subject's.
    if (!m_scored)
        return;
    ui::openWindow(this, app::state().Form9);
}

void ResultsWindow::Button2Click() {
    if (app::state().SavedFlag == 0) {
        ui::openWindow(this, app::state().Form7);
        if (app::state().ExitAnswer != 1)
            return;
    }
    close();
}

void ResultsWindow::Button3Click() {
    app::AppState& state = app::state();
    // Saved once per window; and never the previous subject's profile after a key error.
    if (state.SavedFlag == 1 || !m_scored)
        return;
    const QDate today = QDate::currentDate();
    const std::array<QString, 4> subject = subjectTexts();
    scoring::ResultRecord& record = state.CurrentRecord;
    record.surname = subject[0];
    record.firstName = subject[1];
    record.course = subject[2];
    record.group = subject[3];
    record.scales = state.Profile;
    record.date = platform::dayCount(today);
    scoring::appendRecord(scoring::resultFileName(today), record);
    state.SavedFlag = 1;
    Label51->show();
}

void ResultsWindow::scaleLinkClick(int scale) {
    app::state().Explanation = results::explanationOf(scale);
    ui::openWindow(this, app::state().Form8);
}

void ResultsWindow::Label15Click() {
    scaleLinkClick(1);
}
void ResultsWindow::Label16Click() {
    scaleLinkClick(2);
}
void ResultsWindow::Label17Click() {
    scaleLinkClick(3);
}
void ResultsWindow::Label18Click() {
    scaleLinkClick(4);
}
void ResultsWindow::Label19Click() {
    scaleLinkClick(5);
}
void ResultsWindow::Label20Click() {
    scaleLinkClick(6);
}
void ResultsWindow::Label21Click() {
    scaleLinkClick(7);
}
void ResultsWindow::Label22Click() {
    scaleLinkClick(8);
}
void ResultsWindow::Label23Click() {
    scaleLinkClick(9);
}
void ResultsWindow::Label24Click() {
    scaleLinkClick(10);
}
void ResultsWindow::Label25Click() {
    scaleLinkClick(11);
}
void ResultsWindow::Label26Click() {
    scaleLinkClick(12);
}
void ResultsWindow::Label27Click() {
    scaleLinkClick(13);
}
void ResultsWindow::Label28Click() {
    scaleLinkClick(14);
}
void ResultsWindow::Label29Click() {
    scaleLinkClick(15);
}
void ResultsWindow::Label30Click() {
    scaleLinkClick(16);
}
void ResultsWindow::Label31Click() {
    scaleLinkClick(17);
}
