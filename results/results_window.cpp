#include "results/results_window.h"

#include "export/pdf_report.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "platform/paths.h"
#include "results/exit_confirm_window.h"
#include "results/explanation_window.h"
#include "results/fitted_text.h"
#include "results/profile_chart_window.h"
#include "results/result_saving.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "scoring/stens.h"
#include "ui/file_dialog.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <utility>

namespace {

const QString kNone = QStringLiteral("Нет");

// Captions of the scale links; Л stands for MD throughout the explanations.
const std::array<QString, scoring::kScales> kLinkCaptions = {
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
constexpr int kRows = 17; // items per column

// A narrow framed column that shows one value per line; every column uses the same font and
// margins, so that line k of each stands level with line k of the others.
QPlainTextEdit* valueColumn(QWidget* parent, int left, int width, int height, const QFont& font) {
    QPlainTextEdit* column = ui::memo(parent, left, kColumnTop, width, height, true);
    column->setFont(font);
    column->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setFrameStyle(QFrame::Box | QFrame::Plain);
    column->setLineWidth(1);
    column->document()->setDocumentMargin(1);
    return column;
}

// The subject's values stand right of their captions and end inside the subject box.
constexpr int kValueLeft = 96;
constexpr int kValueRight = 253;
QFont valueFont() {
    return ui::font(16, ui::Bold);
}

// The report's name offered in the folder of saved pictures: the surname and the day, with the
// characters file systems refuse (a date may hold slashes) replaced.
QString suggestedReportPath(const QString& surname, const QDate& day) {
    const QString person = surname.trimmed();
    QString file = (person.isEmpty() ? QStringLiteral("отчёт") : person) + u'_' +
                   platform::formatShortDate(day);
    for (QChar& c : file) {
        if (c < u' ' || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    return QDir::current().absoluteFilePath(
        platform::resolvePath(QStringLiteral("saved_img\\") + file + QStringLiteral(".pdf")));
}

// "name1", "name2", ...: the object names of a row of like controls, counted from 1.
QString numberedName(const char* name, std::size_t index) {
    return QLatin1String(name) + QString::number(index + 1);
}

} // namespace

ResultsWindow::ResultsWindow(QWidget* owner, const scoring::AnswerSheet& answers,
                             const scoring::Subject& subject, scoring::EntryMode mode)
    : ChainWindow(owner, ui::Opener::HideThenClose), m_answers(answers), m_subject(subject),
      m_mode(mode) {
    setWindowTitle(QStringLiteral("Результаты теста"));
    setFixedClientSize(688, 453);

    m_titleLabel = ui::label(this, QStringLiteral("Результаты:"), 24, 16,
                             ui::font(16, ui::Bold | ui::Underline), ui::kRed);
    buildSubjectBox();
    buildRawScoreBox();
    buildStenBox();

    m_savedLabel = ui::label(this, QStringLiteral("Сохранено в базе"), 32, 320,
                             ui::font(19, ui::Bold), ui::kNavy);
    m_savedLabel->setObjectName(QStringLiteral("savedLabel"));

    m_chartButton = ui::button(this, QStringLiteral("График"), 376, 368, 81, 25);
    m_chartButton->setObjectName(QStringLiteral("chartButton"));
    m_chartButton->setFont(ui::font(13, ui::Bold));
    ui::setTextColor(m_chartButton, ui::kNavy);
    m_exitButton = ui::button(this, QStringLiteral("Выход"), 80, 368, 81, 25);
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    m_saveButton = ui::button(this, QStringLiteral("Сохранить"), 80, 416, 81, 25);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    on(m_chartButton, &QPushButton::clicked, [this] { openProfileChart(); });
    on(m_exitButton, &QPushButton::clicked, [this] { leave(); });
    m_reportButton = ui::button(this, QStringLiteral("Отчёт PDF"), 376, 416, 81, 25);
    m_reportButton->setObjectName(QStringLiteral("reportButton"));
    on(m_saveButton, &QPushButton::clicked, [this] { saveResult(); });
    on(m_reportButton, &QPushButton::clicked, [this] { saveReport(); });
}

void ResultsWindow::buildSubjectBox() {
    m_subjectBox = ui::bevel(this, 8, 64, 249, 177);
    m_subjectBox->setObjectName(QStringLiteral("subjectBox"));
    const QString captions[] = {QStringLiteral("Дата:"), QStringLiteral("Фамилия:"),
                                QStringLiteral("Имя:"), QStringLiteral("Курс:"),
                                QStringLiteral("Группа:")};
    QLabel** values[] = {&m_dateValue, &m_surnameValue, &m_firstNameValue, &m_courseValue,
                         &m_groupValue};
    const char* valueNames[] = {"dateValue", "surnameValue", "firstNameValue", "courseValue",
                                "groupValue"};
    const QFont captionFont = ui::font(13, ui::Bold);
    const QFont shownFont = valueFont();
    for (std::size_t row = 0; row < m_subjectCaptions.size(); ++row) {
        const int top = 80 + 32 * int(row);
        m_subjectCaptions[row] = ui::label(this, captions[row], 16, top, captionFont, ui::kRed);
        *values[row] = ui::label(this, kNone, kValueLeft, top, shownFont, ui::kBlue);
        (*values[row])->setObjectName(QLatin1String(valueNames[row]));
    }
}

void ResultsWindow::buildRawScoreBox() {
    m_rawScoreBox = ui::bevel(this, 272, 40, 201, 281);
    m_rawScoreTitle = ui::label(this, QStringLiteral("Сырые оценки:"), 280, 48,
                                ui::font(16, ui::Bold | ui::Underline));
    const QFont columnFont = ui::font(11);
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        m_itemColumns[c] =
            valueColumn(this, kColumns[c].left, kColumns[c].width, kColumns[c].height, columnFont);
        m_itemColumns[c]->setObjectName(numberedName("itemColumn", c));
    }
    m_rawTotalsColumn = valueColumn(this, 416, 25, 233, columnFont);
    m_rawTotalsColumn->setObjectName(QStringLiteral("rawTotalsColumn"));
}

void ResultsWindow::buildStenBox() {
    m_stenBox = ui::bevel(this, 488, 40, 137, 369);
    m_stenRowsBox = ui::bevel(this, 496, 88, 121, 281);
    m_stenTitle = ui::label(this, QStringLiteral("Стандартные"), 496, 48,
                            ui::font(16, ui::Bold | ui::Underline));
    m_stenSubtitle = ui::label(this, QStringLiteral("(Стены)"), 496, 72, ui::font(13, ui::Bold));
    const QFont linkFont = ui::font(11, ui::Underline);
    const QFont plainFont = ui::font(11);
    for (std::size_t k = 0; k < m_scaleLinks.size(); ++k) {
        const int top = 96 + 16 * int(k);
        ui::ClickLabel* link = ui::clickLabel(this, kLinkCaptions[k], 528, top, linkFont, ui::kRed);
        link->setObjectName(numberedName("scaleLink", k));
        link->setCursor(Qt::PointingHandCursor);
        const int scale = int(k) + 1;
        on(link, &ui::ClickLabel::clicked, [this, scale] { showExplanation(scale); });
        m_scaleLinks[k] = link;
        m_stenValues[k] = ui::label(this, kNone, 560, top, plainFont, ui::kBlue);
        m_stenValues[k]->setObjectName(numberedName("stenValue", k));
    }
    m_clickHint[0] = ui::label(this, QStringLiteral("Клик для подробной"), 496, 376, plainFont);
    m_clickHint[1] = ui::label(this, QStringLiteral("информации"), 496, 392, plainFont);
}

void ResultsWindow::onCreated() {
    m_chartButton->setEnabled(false);
    m_saveButton->setEnabled(false);
    m_reportButton->setEnabled(false);
    m_savedLabel->hide();

    const std::pair<QLabel*, QString> values[] = {
        {m_dateValue, platform::formatShortDate(QDate::currentDate())},
        {m_surnameValue, m_subject.surname},
        {m_firstNameValue, m_subject.firstName},
        {m_courseValue, m_subject.course},
        {m_groupValue, m_subject.group}};
    const QFont shownFont = valueFont();
    for (const auto& [label, text] : values)
        results::setFittedText(label, text, shownFont, kValueRight - kValueLeft);

    // A key that cannot be read or used stops here (the guard shows its error): the window
    // stays open with its score columns empty, and saving, the chart and the report stay off.
    showScores();
    m_scored = true;
    m_chartButton->setEnabled(true);
    m_saveButton->setEnabled(true);
    m_reportButton->setEnabled(true);
}

void ResultsWindow::showScores() {
    const scoring::Scores scores = scoring::scoreSheet(scoring::loadKey(), m_answers);

    for (std::size_t c = 0; c < m_itemColumns.size(); ++c) {
        QStringList digits;
        for (int item = kRows * int(c) + 1; item <= std::min(kRows * int(c + 1), scoring::kItems);
             ++item)
            digits << QString::number(scores.items[std::size_t(item - 1)]);
        m_itemColumns[c]->setPlainText(digits.join(u'\n'));
    }
    // Each total is followed by spaces to a common width, so the column reads evenly.
    QStringList totals;
    for (const quint8 raw : scores.raw)
        totals << QString::number(raw) + QString(raw < 10 ? 3 : 1, u' ');
    m_rawTotalsColumn->setPlainText(totals.join(u'\n'));

    m_profile = scoring::toStens(scores.raw);
    for (std::size_t k = 0; k < m_stenValues.size(); ++k)
        ui::setText(m_stenValues[k], QString::number(m_profile[k]));
}

void ResultsWindow::openProfileChart() {
    // After a key error there is no profile to draw.
    if (!m_scored)
        return;
    // Results typed in by hand are dated the day the chart is drawn; a test, the day shown.
    const QString date = m_mode == scoring::EntryMode::Manual
                             ? platform::formatShortDate(QDate::currentDate())
                             : m_dateValue->text();
    ui::openWindow<ProfileChartWindow>(this, m_profile, m_subject, date, m_mode);
}

void ResultsWindow::leave() {
    if (!m_saved && !ui::openWindow<ExitConfirmWindow>(this))
        return;
    close();
}

void ResultsWindow::saveResult() {
    // Saved once per window, and never after a key error.
    if (m_saved || !m_scored)
        return;
    // Refused after the wait limit, it throws, and "Сохранить" can be pressed again.
    results::saveTodaysResult(m_subject, m_profile, m_mode, m_saveWaitLimit);
    m_saved = true;
    m_savedLabel->show();
}

void ResultsWindow::saveReport() {
    // After a key error there is nothing to report.
    if (!m_scored)
        return;
    const QDate today = QDate::currentDate();
    const QString path = ui::FileDialog::getSaveFileName(
        this, QStringLiteral("Отчёт PDF (*.pdf)"), suggestedReportPath(m_subject.surname, today));
    if (path.isEmpty())
        return;
    const ui::BusyCursor busy;
    exporting::writeReport(path, scoring::buildResultRecord(m_subject, m_profile, today, m_mode),
                           graphics::explanations());
}

void ResultsWindow::showExplanation(int scale) {
    ui::openWindow<ExplanationWindow>(this, graphics::explanationOf(scale));
}
