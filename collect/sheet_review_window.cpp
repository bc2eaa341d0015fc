#include "collect/sheet_review_window.h"

#include "collect/answer_keys.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_fields.h"
#include "results/exit_confirm_window.h"
#include "results/result_saving.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "scoring/stens.h"
#include "sheets/sheet_layout.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace {

// The page beside the grid, A4 in proportion, and the name area under the grid.
const QRect kPagePlace(8, 8, 396, 560);
const QRect kNamePlace(420, 462, 420, 120);
constexpr int kGridLeft = 412;

const QColor kDoubtLeft(230, 0, 0);
const QColor kDoubtSettled(0, 150, 0);

// The rectangle of a row's three boxes on the page, in millimetres, with a margin.
QRectF rowOnPage(int item) {
    const sheets::SheetLayout& layout = sheets::sheetLayout();
    return layout.box(item, 'a').united(layout.box(item, 'c')).adjusted(-1.2, -1.2, 1.2, 1.2);
}

quint8 answerOfChar(QChar c) {
    return c >= u'a' && c <= u'c' ? quint8(c.unicode() - u'a' + 1) : 0;
}

} // namespace

SheetReviewWindow::SheetReviewWindow(QWidget* owner, QList<sheets::ScanPage> pages)
    : ChainWindow(owner, ui::Opener::Hide) {
    setWindowTitle(QStringLiteral("Проверка прочитанных бланков"));
    setFixedClientSize(1150, 645);
    for (sheets::ScanPage& page : pages) {
        Sheet sheet;
        for (int item = 1; item <= scoring::kItems; ++item) {
            const QChar read = item <= page.answers.size() ? page.answers[item - 1] : u'?';
            sheet.answers.setAnswer(item, answerOfChar(read));
            if (read == u'?')
                sheet.doubtful.insert(item);
        }
        for (qsizetype k = 0; k < page.doubtful.size(); ++k) {
            sheet.doubtful.insert(page.doubtful[k]);
            sheet.reasons.insert(page.doubtful[k], page.doubtReasons.value(k));
        }
        for (int item : std::as_const(sheet.doubtful))
            sheet.answers.setAnswer(item, 0); // never taken from the reader
        // A named sheet's fields hold its names; a blank sheet's start as manual entry's do.
        const QString none = QStringLiteral("нет");
        sheet.subject = page.code && page.code->subject ? *page.code->subject
                                                        : scoring::Subject{none, none, none, none};
        sheet.page = std::move(page);
        m_sheets.append(std::move(sheet));
    }
    buildControls();
}

void SheetReviewWindow::buildControls() {
    const QFont font = ui::font(11);
    m_pageView = new QLabel(this);
    m_pageView->setGeometry(kPagePlace);
    m_pageView->setObjectName(QStringLiteral("pageView"));
    m_pageView->setAlignment(Qt::AlignCenter);
    m_pageView->setFrameStyle(QFrame::Box | QFrame::Plain);

    m_grid = new collect::AnswerGrid(this);
    m_grid->setGeometry(kGridLeft, 0, 745, 456);
    connect(m_grid, &collect::AnswerGrid::boxClicked, this,
            [this](int box) { ui::guarded([this, box] { chooseBox(box); }); });

    m_nameView = new QLabel(this);
    m_nameView->setGeometry(kNamePlace);
    m_nameView->setObjectName(QStringLiteral("nameView"));
    m_nameView->setAlignment(Qt::AlignCenter);
    m_nameView->setFrameStyle(QFrame::Box | QFrame::Plain);

    const int left = 860;
    ui::label(this, QStringLiteral("Фамилия:"), left, 462, font);
    m_surnameEdit = collect::subjectField(this, scoring::kSurnameLength, left, 478, 200, 21);
    ui::label(this, QStringLiteral("Имя:"), left, 506, font);
    m_firstNameEdit = collect::subjectField(this, scoring::kFirstNameLength, left, 522, 200, 21);
    ui::label(this, QStringLiteral("Курс:"), left, 550, font);
    m_courseEdit = collect::subjectField(this, scoring::kCourseLength, left, 566, 90, 21);
    ui::label(this, QStringLiteral("Группа:"), left + 110, 550, font);
    m_groupEdit = collect::subjectField(this, scoring::kGroupLength, left + 110, 566, 90, 21);
    m_surnameEdit->setObjectName(QStringLiteral("surnameEdit"));
    m_firstNameEdit->setObjectName(QStringLiteral("firstNameEdit"));
    m_courseEdit->setObjectName(QStringLiteral("courseEdit"));
    m_groupEdit->setObjectName(QStringLiteral("groupEdit"));

    m_sheetLabel = ui::label(this, QString(), 8, 572, ui::font(11, ui::Bold));
    m_sheetLabel->setObjectName(QStringLiteral("sheetLabel"));
    m_doubtLabel = ui::label(this, QString(), 8, 588, font, ui::kRed);
    m_doubtLabel->setObjectName(QStringLiteral("doubtLabel"));
    m_savedLabel = ui::label(this, QString(), 860, 596, ui::font(11, ui::Bold), ui::kGreen);
    m_savedLabel->setObjectName(QStringLiteral("savedLabel"));
    m_incompleteWarning = ui::label(this, QStringLiteral("Не все ответы введены"), 420, 596,
                                    ui::font(11, ui::Bold | ui::Underline), ui::kRed);
    m_incompleteWarning->setObjectName(QStringLiteral("incompleteWarning"));
    m_incompleteWarning->hide();

    m_previousButton = ui::button(this, QStringLiteral("< Предыдущий"), 8, 618, 100, 25);
    m_nextButton = ui::button(this, QStringLiteral("Следующий >"), 116, 618, 100, 25);
    m_saveButton = ui::button(this, QStringLiteral("Сохранить"), 860, 618, 100, 25);
    m_closeButton = ui::button(this, QStringLiteral("Закрыть"), 1060, 618, 80, 25);
    m_previousButton->setObjectName(QStringLiteral("previousButton"));
    m_nextButton->setObjectName(QStringLiteral("nextButton"));
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    setTabOrder(m_surnameEdit, m_firstNameEdit);
    setTabOrder(m_firstNameEdit, m_courseEdit);
    setTabOrder(m_courseEdit, m_groupEdit);
    setTabOrder(m_groupEdit, m_saveButton);
    for (QLineEdit* edit : {m_surnameEdit, m_firstNameEdit, m_courseEdit, m_groupEdit}) {
        connect(edit, &QLineEdit::textEdited, this, [this] {
            if (!m_sheets.isEmpty())
                m_sheets[m_current].savedBefore = false; // another record now, not saved yet
        });
    }
    on(m_previousButton, &QPushButton::clicked, [this] { showSheet(m_current - 1); });
    on(m_nextButton, &QPushButton::clicked, [this] { showSheet(m_current + 1); });
    on(m_saveButton, &QPushButton::clicked, [this] { save(); });
    on(m_closeButton, &QPushButton::clicked, [this] { leave(); });
}

void SheetReviewWindow::onCreated() {
    m_grid->loadPictures();
    showSheet(0);
}

int SheetReviewWindow::savedCount() const {
    return int(std::count_if(m_sheets.begin(), m_sheets.end(),
                             [](const Sheet& sheet) { return sheet.saved; }));
}

QList<int> SheetReviewWindow::doubtfulLeft() const {
    if (m_sheets.isEmpty())
        return {};
    QList<int> items(m_sheets[m_current].doubtful.begin(), m_sheets[m_current].doubtful.end());
    std::sort(items.begin(), items.end());
    return items;
}

scoring::Subject SheetReviewWindow::subject() const {
    return {m_surnameEdit->text(), m_firstNameEdit->text(), m_courseEdit->text(),
            m_groupEdit->text()};
}

void SheetReviewWindow::keepSubject() {
    // Before the first sheet is shown the fields hold manual entry's defaults, not its names.
    if (m_fieldsShowSheet && !m_sheets.isEmpty() && !m_sheets[m_current].saved)
        m_sheets[m_current].subject = subject();
}

void SheetReviewWindow::showSheet(int index) {
    if (m_sheets.isEmpty() || index < 0 || index >= m_sheets.size())
        return;
    keepSubject();
    m_current = index;
    const Sheet& sheet = m_sheets[m_current];
    for (int item = 1; item <= scoring::kItems; ++item) {
        m_grid->showAnswer(item, sheet.answers.answer(item));
        m_grid->setRowMarked(item, sheet.doubtful.contains(item));
    }
    const scoring::Subject& names = sheet.subject;
    m_surnameEdit->setText(names.surname);
    m_firstNameEdit->setText(names.firstName);
    m_courseEdit->setText(names.course);
    m_groupEdit->setText(names.group);
    m_fieldsShowSheet = true;
    m_incompleteWarning->hide();
    const QList<int> doubts = doubtfulLeft();
    if (!doubts.isEmpty())
        m_grid->showCurrent(doubts.front());
    else
        m_grid->setCurrent(1);
    showPage();
    showState();
}

// The page as read, its doubtful rows framed: red while left, green once settled.
void SheetReviewWindow::showPage() {
    const Sheet& sheet = m_sheets[m_current];
    const QImage& aligned = sheet.page.aligned;
    if (aligned.isNull()) {
        m_pageView->setText(QStringLiteral("Нет изображения страницы"));
        m_nameView->clear();
        return;
    }
    QPixmap page(kPagePlace.size());
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), kPagePlace.size()), aligned);
        const double scale = kPagePlace.width() / sheets::sheetLayout().page.width();
        painter.scale(scale, scale);
        for (int item : sheet.page.doubtful) {
            painter.setPen(QPen(sheet.doubtful.contains(item) ? kDoubtLeft : kDoubtSettled, 0.8));
            painter.drawRect(rowOnPage(item));
        }
    }
    m_pageView->setPixmap(page);

    const double perMillimetre = aligned.width() / sheets::sheetLayout().page.width();
    const QRectF area = sheets::sheetLayout().nameArea;
    const QRect crop(QPointF(area.topLeft() * perMillimetre).toPoint(),
                     QPointF(area.bottomRight() * perMillimetre).toPoint());
    m_nameView->setPixmap(QPixmap::fromImage(aligned.copy(crop).scaled(
        kNamePlace.size() - QSize(2, 2), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void SheetReviewWindow::showState() {
    const Sheet& sheet = m_sheets[m_current];
    QString where = QStringLiteral("Бланк %1 из %2").arg(m_current + 1).arg(m_sheets.size());
    if (sheet.page.code)
        where += QStringLiteral(" · № %1").arg(sheet.page.code->serial, 6, 10, QChar(u'0'));
    where += QStringLiteral(" · %1, стр. %2").arg(sheet.page.file).arg(sheet.page.page);
    ui::setText(m_sheetLabel, where);

    const QList<int> doubts = doubtfulLeft();
    QStringList numbers;
    for (int item : doubts)
        numbers.append(QString::number(item));
    QString doubtText;
    if (!doubts.isEmpty()) {
        doubtText = QStringLiteral("Сомнительные строки: %1 — отметьте ответ в каждой")
                        .arg(numbers.join(QStringLiteral(", ")));
        const int row = m_grid->current();
        if (sheet.doubtful.contains(row) && !sheet.reasons.value(row).isEmpty())
            doubtText += QStringLiteral("\nСтрока %1: %2").arg(row).arg(sheet.reasons.value(row));
    }
    ui::setText(m_doubtLabel, doubtText);
    ui::setText(m_savedLabel, sheet.saved ? QStringLiteral("Сохранено в базе") : QString());
    m_saveButton->setEnabled(!sheet.saved && doubts.isEmpty());
    m_previousButton->setEnabled(m_current > 0);
    m_nextButton->setEnabled(m_current + 1 < m_sheets.size());
    for (QLineEdit* edit : {m_surnameEdit, m_firstNameEdit, m_courseEdit, m_groupEdit})
        edit->setReadOnly(sheet.saved);
}

void SheetReviewWindow::chooseBox(int box) {
    Sheet& sheet = m_sheets[m_current];
    if (sheet.saved)
        return; // a saved sheet stays as it was saved
    const int statement = (box - 1) / 3 + 1;
    const int answer = (box - 1) % 3 + 1;
    m_grid->showAnswer(statement, answer);
    sheet.answers.setAnswer(statement, quint8(answer));
    sheet.savedBefore = false; // another record now, not saved yet
    if (sheet.doubtful.remove(statement)) {
        m_grid->setRowMarked(statement, false);
        showPage();
    }
    moveToNextDoubt(statement);
    showState();
}

void SheetReviewWindow::moveToNextDoubt(int after) {
    const QList<int> doubts = doubtfulLeft();
    if (doubts.isEmpty()) {
        m_grid->setCurrent(after + 1);
        return;
    }
    const auto next =
        std::find_if(doubts.begin(), doubts.end(), [after](int s) { return s > after; });
    m_grid->showCurrent(next != doubts.end() ? *next : doubts.front());
}

void SheetReviewWindow::save() {
    Sheet& sheet = m_sheets[m_current];
    if (sheet.saved || !sheet.doubtful.isEmpty())
        return;
    // The same rule as manual entry: every statement answered.
    for (int s = 1; s <= scoring::kItems; ++s) {
        if (sheet.answers.answer(s) == 0) {
            m_incompleteWarning->show();
            m_grid->showCurrent(s);
            return;
        }
    }
    m_incompleteWarning->hide();
    sheet.subject = subject();
    const scoring::ScaleProfile profile =
        scoring::toStens(scoring::scoreSheet(scoring::loadKey(), sheet.answers).raw);
    // The same stack read again must not count its students twice. Records carry no serial,
    // so a record of today equal in every field is taken for this sheet saved already: another
    // student of the same names, course and group with the same 17 stens on the same day is
    // vanishingly unlikely.
    const QDate today = QDate::currentDate();
    if (scoring::findSameRecord(scoring::resultFileName(today),
                                scoring::buildResultRecord(sheet.subject, profile, today,
                                                           scoring::EntryMode::Manual))) {
        sheet.savedBefore = true;
        ui::MessageBox::showError(
            QStringLiteral("Бланк № %1 (%2 %3) уже сохранён в файле результатов за сегодня. "
                           "Повторно он не сохраняется.")
                .arg(sheet.page.code ? sheet.page.code->serial : 0, 6, 10, QChar(u'0'))
                .arg(sheet.subject.surname, sheet.subject.firstName));
        return;
    }
    results::saveTodaysResult(sheet.subject, profile, scoring::EntryMode::Manual, m_saveWaitLimit);
    sheet.saved = true;
    // On to the next sheet still to save, if any.
    for (int k = 1; k < m_sheets.size(); ++k) {
        const int next = (m_current + k) % int(m_sheets.size());
        if (!m_sheets[next].saved) {
            const quint32 serial = sheet.page.code ? sheet.page.code->serial : 0;
            showSheet(next);
            ui::setText(
                m_savedLabel,
                QStringLiteral("Бланк № %1 сохранён в базе").arg(serial, 6, 10, QChar(u'0')));
            return;
        }
    }
    showState();
}

// As the results window asks before leaving a result unsaved.
void SheetReviewWindow::leave() {
    const bool unsaved = std::any_of(m_sheets.begin(), m_sheets.end(), [](const Sheet& sheet) {
        return !sheet.saved && !sheet.savedBefore;
    });
    if (unsaved && !ui::openWindow<ExitConfirmWindow>(this))
        return;
    close();
}

void SheetReviewWindow::keyPressEvent(QKeyEvent* event) {
    // As in manual entry: Escape hands the keys to the grid, whose keys answer its current row.
    if (event->key() == Qt::Key_Escape) {
        m_grid->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (m_grid->hasFocus()) {
        if (const int answer = collect::answerOfKey(*event)) {
            ui::guarded([&] { chooseBox(3 * (m_grid->current() - 1) + answer); });
            return;
        }
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            m_grid->setCurrent(m_grid->current() + (event->key() == Qt::Key_Up ? -1 : 1));
            showState();
            return;
        }
    }
    ChainWindow::keyPressEvent(event);
}
