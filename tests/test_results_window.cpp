// The results window: what it shows for a scored sheet, saving, leaving, the way it closes the
// window chain, the scale links, and what it refuses after a key error.

#include "app/main_window.h"
#include "collect/instructions_window.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "graphics/texts.h"
#include "platform/dates.h"
#include "results/exit_confirm_window.h"
#include "results/explanation_window.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "scoring/result_file.h"
#include "scoring/stens.h"
#include "tests/support/test_support.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <chrono>
#include <memory>

using testing::child;

Q_DECLARE_METATYPE(scoring::EntryMode)

namespace {

// A key whose digits differ from item to item, with the Q4 items worth at most 1 so that the
// window shows raw totals below 10 as well as above.
QByteArray testKey() {
    QByteArray key;
    for (int item = 1; item <= scoring::kItems; ++item) {
        for (int answer = 1; answer <= 3; ++answer) {
            const int digit =
                scoring::scaleOfItem(item) == 17 ? answer % 2 : (item * 7 + answer * 3) % 10;
            key.append(char('0' + digit));
        }
    }
    return key;
}

int testAnswer(int item) {
    return item % 3 + 1;
}

scoring::AnswerSheet testSheet() {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= scoring::kItems; ++item)
        sheet.setAnswer(item, quint8(testAnswer(item)));
    return sheet;
}

scoring::Subject testSubject(const QString& surname = QStringLiteral("Иванова")) {
    return {surname, QStringLiteral("Мария"), QStringLiteral("2"), QStringLiteral("ПС-21")};
}

int keyDigit(const QByteArray& key, int item) {
    return key[3 * (item - 1) + testAnswer(item) - 1] - '0';
}

// Control n (from 1) of a row of like controls: "stenValue3", "itemColumn7".
template <class Control> Control* numbered(const QWidget* window, const char* name, int n) {
    return child<Control>(window, qPrintable(QLatin1String(name) + QString::number(n)));
}

QString textOf(const QWidget* window, const char* name) {
    const QLabel* label = child<QLabel>(window, name);
    return label ? label->text() : QString();
}

QPushButton* buttonOf(const QWidget* window, const char* name) {
    return child<QPushButton>(window, name);
}

bool savedLabelShown(const QWidget* results) {
    return child<QLabel>(results, "savedLabel")->isVisibleTo(results);
}

// The lines of a column; an empty column has none.
QStringList lines(const QPlainTextEdit* memo) {
    QStringList result = testing::memoLines(memo);
    if (result == QStringList{QString()})
        result.clear();
    return result;
}

// The top of line `index` of a column, in window coordinates.
int lineTop(const QPlainTextEdit* memo, int index) {
    QTextCursor cursor(memo->document()->findBlockByNumber(index));
    return memo->viewport()->mapTo(memo->window(), memo->cursorRect(cursor).topLeft()).y();
}

const QString kLongSurname = QStringLiteral("Константинопольская-Щедр"); // 24 letters + 1

// Whether a single-line field shows its whole text: with the cursor at its end the line is not
// scrolled, so the first character still stands at the field's left edge.
bool showsWholeText(QLineEdit* field) {
    field->setCursorPosition(int(field->text().size()));
    field->grab(); // lays the line out as painting does
    const bool whole = field->cursorPositionAt(QPoint(3, field->height() / 2)) == 0;
    field->setCursorPosition(0);
    return whole;
}

// Escape pressed where the keyboard focus is in a window.
void pressEscape(QWidget* window) {
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus ? focus : window, Qt::Key_Escape);
}

// The helper process that holds a result file's lock as another computer's save does.
QString lockHolderTool() {
#ifdef DORVEL_APPEND_RECORDS
    return QStringLiteral(DORVEL_APPEND_RECORDS);
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/append_records");
#endif
}

} // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempWorkDir> m_dir;
    // Stand-ins for the windows that open the results: the test window and manual entry.
    std::unique_ptr<QWidget> m_testOpener;
    std::unique_ptr<QWidget> m_manualOpener;

    QWidget* openerOf(scoring::EntryMode mode) const {
        return mode == scoring::EntryMode::Manual ? m_manualOpener.get() : m_testOpener.get();
    }

    // A results window created the way its opener creates it, shown but not modally.
    std::unique_ptr<ResultsWindow>
    createResults(scoring::EntryMode mode, const QString& surname = QStringLiteral("Иванова")) {
        auto window = std::make_unique<ResultsWindow>(openerOf(mode), testSheet(),
                                                      testSubject(surname), mode);
        window->create();
        window->show();
        return window;
    }

    // Opens the results window modally, runs `step` inside its showing, and tells whether the
    // window was still open after the step (it is then closed by its frame). The window is
    // gone afterwards either way.
    bool stillOpenAfter(const std::function<void(ResultsWindow*)>& step) {
        bool returned = false;
        bool stayed = false;
        QPointer<ResultsWindow> shown;
        testing::step([&] {
            shown = testing::visibleWindow<ResultsWindow>();
            QVERIFY(shown);
            step(shown);
            testing::step([&] {
                if (returned)
                    return;
                stayed = true;
                testing::closeByFrame(shown);
            });
        });
        ui::openWindow<ResultsWindow>(m_testOpener.get(), testSheet(), testSubject(),
                                      scoring::EntryMode::Test);
        returned = true;
        QCoreApplication::processEvents();
        [&] { QVERIFY(shown.isNull()); }();
        return stayed;
    }

private slots:
    void init() {
        testing::prepareGuiTest();
        m_dir = std::make_unique<testing::TempWorkDir>();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        m_dir->makeFolder(QStringLiteral("result"));
        m_testOpener = std::make_unique<QWidget>();
        m_manualOpener = std::make_unique<QWidget>();
        m_testOpener->show();
        m_manualOpener->show();
    }

    void cleanup() {
        m_testOpener.reset();
        m_manualOpener.reset();
        m_dir.reset();
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void showsScoredSheet_data() {
        QTest::addColumn<scoring::EntryMode>("mode");
        QTest::newRow("from the test") << scoring::EntryMode::Test;
        QTest::newRow("from manual entry") << scoring::EntryMode::Manual;
    }

    void showsScoredSheet() {
        QFETCH(scoring::EntryMode, mode);
        auto results = createResults(mode, kLongSurname);

        const bool manual = mode == scoring::EntryMode::Manual;
        QWidget* opener = openerOf(mode);
        QWidget* other = manual ? m_testOpener.get() : m_manualOpener.get();
        QVERIFY(!opener->isVisible());
        QVERIFY(other->isVisible());
        QVERIFY(!savedLabelShown(results.get()));
        QVERIFY(!results->saved());

        QCOMPARE(textOf(results.get(), "dateValue"),
                 platform::formatShortDate(QDate::currentDate()));
        const QLabel* surname = child<QLabel>(results.get(), "surnameValue");
        QCOMPARE(surname->text(), kLongSurname);
        QVERIFY(surname->width() >= QFontMetrics(surname->font()).horizontalAdvance(kLongSurname));
        QCOMPARE(textOf(results.get(), "firstNameValue"), QStringLiteral("Мария"));
        QCOMPARE(textOf(results.get(), "courseValue"), QStringLiteral("2"));
        QCOMPARE(textOf(results.get(), "groupValue"), QStringLiteral("ПС-21"));

        // Row k of column c is item 17 (c - 1) + k; column 7 holds items 103 to 105.
        const QByteArray key = testKey();
        std::array<int, 17> rowSums{};
        for (int c = 1; c <= 7; ++c) {
            const QStringList digits =
                lines(numbered<QPlainTextEdit>(results.get(), "itemColumn", c));
            QCOMPARE(digits.size(), c == 7 ? 3 : 17);
            for (int k = 1; k <= digits.size(); ++k) {
                const int item = 17 * (c - 1) + k;
                QCOMPARE(digits[k - 1], QString::number(keyDigit(key, item)));
                rowSums[std::size_t(k - 1)] += digits[k - 1].toInt();
            }
        }
        // The raw totals are the sums of the rows, one per line whatever their width, and
        // the stens are their conversions.
        const QStringList totals = lines(child<QPlainTextEdit>(results.get(), "rawTotalsColumn"));
        QCOMPARE(totals.size(), 17);
        bool below10 = false, twoDigits = false;
        for (int k = 1; k <= 17; ++k) {
            const int raw = rowSums[std::size_t(k - 1)];
            QCOMPARE(totals[k - 1].trimmed(), QString::number(raw));
            below10 |= raw < 10;
            twoDigits |= raw >= 10;
            const quint8 sten = scoring::stenFor(k, raw);
            QCOMPARE(results->profile()[std::size_t(k - 1)], sten);
            QCOMPARE(numbered<QLabel>(results.get(), "stenValue", k)->text(),
                     QString::number(sten));
        }
        QVERIFY(below10 && twoDigits);
        QVERIFY(buttonOf(results.get(), "chartButton")->isEnabled());
        QVERIFY(buttonOf(results.get(), "saveButton")->isEnabled());
    }

    // Names of any width stay whole inside the subject box, and markup shows as typed.
    void subjectFitsItsBox_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("double surname") << QStringLiteral("Иванова-Петрова Анна");
        QTest::newRow("20 wide letters") << QString(20, u'Ш');
        QTest::newRow("markup") << QStringLiteral("<h1>BIG</h1>");
    }

    void subjectFitsItsBox() {
        QFETCH(QString, value);
        auto results = std::make_unique<ResultsWindow>(m_testOpener.get(), testSheet(),
                                                       scoring::Subject{value, value, value, value},
                                                       scoring::EntryMode::Test);
        results->create();
        const QFrame* box = child<QFrame>(results.get(), "subjectBox");
        const QRect inside = box->contentsRect().translated(box->pos());
        for (const char* name : {"surnameValue", "firstNameValue", "courseValue", "groupValue"}) {
            const QLabel* label = child<QLabel>(results.get(), name);
            QCOMPARE(label->text(), value);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY2(inside.contains(label->geometry()), name);
            QVERIFY2(label->width() >= QFontMetrics(label->font()).horizontalAdvance(value), name);
        }
    }

    void columnsLineUp() {
        auto results = createResults(scoring::EntryMode::Test);
        const auto column = [&](int c) {
            return numbered<QPlainTextEdit>(results.get(), "itemColumn", c);
        };
        QPlainTextEdit* totals = child<QPlainTextEdit>(results.get(), "rawTotalsColumn");
        for (int k = 0; k < 17; ++k) {
            const int top = lineTop(column(1), k);
            for (int c = 2; c <= (k < 3 ? 7 : 6); ++c)
                QCOMPARE(lineTop(column(c), k), top);
            QCOMPARE(lineTop(totals, k), top);
        }
        // All 17 lines fit their columns: the last one ends inside the box.
        for (const QPlainTextEdit* full : {column(1), totals}) {
            QTextCursor last(full->document()->findBlockByNumber(16));
            QVERIFY(full->cursorRect(last).bottom() < full->viewport()->height());
            QCOMPARE(full->verticalScrollBar()->value(), 0);
        }
        QTextCursor last7(column(7)->document()->findBlockByNumber(2));
        QVERIFY(column(7)->cursorRect(last7).bottom() < column(7)->viewport()->height());
    }

    void keyErrorLeavesWindowEmpty_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false << QStringLiteral("File not found");
        QTest::newRow("314 bytes")
            << testKey().left(314) << true << QStringLiteral("Read beyond end of file");
        QByteArray invalid = testKey();
        invalid[3 * (50 - 1) + testAnswer(50) - 1] = 'x';
        QTest::newRow("letter at a given answer")
            << invalid << true << QStringLiteral("'x' is not a valid integer value");
    }

    void keyErrorLeavesWindowEmpty() {
        QFETCH(QByteArray, key);
        QFETCH(bool, present);
        QFETCH(QString, message);
        QFile::remove(m_dir->filePath(QStringLiteral("Data/Key.kdt")));
        if (present)
            m_dir->writeFile(QStringLiteral("Data/Key.kdt"), key);
        auto results = createResults(scoring::EntryMode::Test);

        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{message});
        QVERIFY(!m_testOpener->isVisible());
        QVERIFY(!results->scored());
        QCOMPARE(textOf(results.get(), "dateValue"),
                 platform::formatShortDate(QDate::currentDate()));
        QCOMPARE(textOf(results.get(), "surnameValue"), QStringLiteral("Иванова"));
        for (int c = 1; c <= 7; ++c)
            QVERIFY(
                numbered<QPlainTextEdit>(results.get(), "itemColumn", c)->toPlainText().isEmpty());
        QVERIFY(child<QPlainTextEdit>(results.get(), "rawTotalsColumn")->toPlainText().isEmpty());
        for (int k = 1; k <= 17; ++k)
            QCOMPARE(numbered<QLabel>(results.get(), "stenValue", k)->text(),
                     QStringLiteral("Нет"));

        // Nothing was scored: saving, the chart and the report are off, and they refuse even when
        // pressed.
        QPushButton* save = buttonOf(results.get(), "saveButton");
        QPushButton* chart = buttonOf(results.get(), "chartButton");
        QPushButton* report = buttonOf(results.get(), "reportButton");
        for (const QPushButton* button : {save, chart, report}) {
            QVERIFY(!button->isEnabled());
            // Greyed as every disabled button is, "График" too for all its own colour.
            QCOMPARE(button->palette().color(QPalette::Disabled, QPalette::ButtonText),
                     QApplication::style()->standardPalette().color(QPalette::Disabled,
                                                                    QPalette::ButtonText));
        }
        const QString reportFile = m_dir->filePath(QStringLiteral("report.pdf"));
        ui::FileDialog::setNextAnswer(reportFile);
        report->setEnabled(true);
        report->click();
        ui::FileDialog::clearNextAnswer();
        QVERIFY(!QFile::exists(reportFile));
        save->setEnabled(true);
        save->click();
        QVERIFY(!results->saved());
        QVERIFY(!savedLabelShown(results.get()));
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("result"))).isEmpty());
        bool chartOpened = false;
        testing::step([&] {
            if (auto* profileChart = testing::visibleWindow<ProfileChartWindow>()) {
                chartOpened = true;
                testing::closeByFrame(profileChart);
            }
        });
        chart->setEnabled(true);
        chart->click();
        QCoreApplication::processEvents();
        QVERIFY(!chartOpened);
    }

    void savesOnce_data() {
        QTest::addColumn<scoring::EntryMode>("mode");
        QTest::newRow("from the test") << scoring::EntryMode::Test;
        QTest::newRow("from manual entry") << scoring::EntryMode::Manual;
    }

    void savesOnce() {
        QFETCH(scoring::EntryMode, mode);
        auto results = createResults(mode, kLongSurname);
        const QString file = scoring::resultFileName(QDate::currentDate());

        buttonOf(results.get(), "saveButton")->click();
        buttonOf(results.get(), "saveButton")->click();

        QCOMPARE(scoring::recordCount(file), 1);
        QVERIFY(results->saved());
        QVERIFY(savedLabelShown(results.get()));
        const scoring::ResultRecord record = scoring::readRecord(file, 0);
        QCOMPARE(record.surname, kLongSurname.left(20));
        QCOMPARE(record.firstName, QStringLiteral("Мария"));
        QCOMPARE(record.course, QStringLiteral("2"));
        QCOMPARE(record.group, QStringLiteral("ПС-21"));
        QCOMPARE(record.scales, results->profile());
        QCOMPARE(record.date, platform::dayCount(QDate::currentDate()));
        QCOMPARE(int(record.manualEntry), int(mode));
        // The window still shows the surname whole.
        QCOMPARE(textOf(results.get(), "surnameValue"), kLongSurname);
    }

    void failedSaveCanBeRepeated_data() {
        QTest::addColumn<bool>("locked"); // else the result folder is missing
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("recordsAfter"); // after the second try
        QTest::newRow("no result folder") << false << QStringLiteral("Invalid filename") << 1;
        // The other computer's record goes in when it lets the lock go, then this one.
        QTest::newRow("file locked by another computer")
            << true << QStringLiteral("I/O error ") << 2;
    }

    void failedSaveCanBeRepeated() {
        QFETCH(bool, locked);
        QFETCH(QString, message);
        QFETCH(int, recordsAfter);
        const QString file = scoring::resultFileName(QDate::currentDate());
        QProcess holder;
        if (locked) {
            if (!QFile::exists(lockHolderTool()))
                QSKIP("the lock-holding helper append_records is not built");
            holder.setWorkingDirectory(m_dir->path());
            holder.start(lockHolderTool(), {QStringLiteral("hold"), file, QStringLiteral("other"),
                                            QStringLiteral("2500")});
            QByteArray said;
            while (!said.contains("locked")) {
                QVERIFY(holder.waitForReadyRead(10000));
                said += holder.readAllStandardOutput();
            }
        } else {
            QDir(m_dir->filePath(QStringLiteral("result"))).removeRecursively();
        }
        auto results = createResults(scoring::EntryMode::Test);
        results->setSaveWaitLimit(std::chrono::milliseconds(600));
        QPushButton* save = buttonOf(results.get(), "saveButton");

        // While the save waits, the window goes on painting under the busy cursor.
        int ticks = 0;
        bool busy = true;
        QTimer ticker;
        ticker.callOnTimeout([&] {
            ++ticks;
            busy &= QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        ticker.start(20);
        save->click();
        ticker.stop();
        const QStringList errors = ui::MessageBox::takeRecorded();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(message), qPrintable(errors[0]));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!results->saved());
        QVERIFY(!savedLabelShown(results.get()));
        QVERIFY(save->isEnabled());
        if (locked) {
            QVERIFY(ticks > 0 && busy);
            QVERIFY(holder.waitForFinished(10000));
            QCOMPARE(holder.exitCode(), 0);
        } else {
            m_dir->makeFolder(QStringLiteral("result"));
        }

        save->click();
        QVERIFY(results->saved());
        QVERIFY(savedLabelShown(results.get()));
        QCOMPARE(scoring::recordCount(file), recordsAfter);
        QCOMPARE(scoring::readRecord(file, recordsAfter - 1).surname, QStringLiteral("Иванова"));
    }

    // The report of the subject goes where the file dialog was answered; a cancelled dialog
    // writes nothing.
    void savesReportAsAnswered() {
        auto results = createResults(scoring::EntryMode::Test);
        QPushButton* report = buttonOf(results.get(), "reportButton");
        QVERIFY(report->isEnabled());
        ui::FileDialog::setNextAnswer(QString());
        report->click();
        QVERIFY(QDir(m_dir->path()).entryList({QStringLiteral("*.pdf")}).isEmpty());

        const QString file = m_dir->filePath(QStringLiteral("Отчёт Ивановой.pdf"));
        ui::FileDialog::setNextAnswer(file);
        report->click();
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(5) == "%PDF-");
        QVERIFY(written.size() > 1000);
    }

    // Escape closes the explanation and the chart over the results window; the results window
    // itself stays.
    void escapeClosesSmallWindows_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("explanation") << "explanation";
        QTest::newRow("profile chart") << "chart";
        QTest::newRow("results window") << "results";
    }

    void escapeClosesSmallWindows() {
        QFETCH(QString, window);
        m_dir->installProgramFolder();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        bool rescued = false;
        const bool resultsStayed = stillOpenAfter([&](ResultsWindow* results) {
            if (window == u"results") {
                pressEscape(results);
                return;
            }
            QPointer<ui::ChainWindow> small;
            testing::step([&] {
                small = window == u"chart" ? static_cast<ui::ChainWindow*>(
                                                 testing::visibleWindow<ProfileChartWindow>())
                                           : testing::visibleWindow<ExplanationWindow>();
                QVERIFY(small);
                pressEscape(small);
                testing::step([&] {
                    if (small) {
                        rescued = true;
                        testing::closeByFrame(small);
                    }
                });
            });
            if (window == u"chart")
                buttonOf(results, "chartButton")->click();
            else
                QTest::mouseClick(numbered<ui::ClickLabel>(results, "scaleLink", 4),
                                  Qt::LeftButton);
            QVERIFY(small.isNull());
        });
        QVERIFY(!rescued);
        QVERIFY(resultsStayed);
    }

    void exitAsksOnlyWhenUnsaved_data() {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("answer"); // in the confirmation: "leave", "stay", "frame"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("stays");
        QTest::newRow("unsaved, Отмена") << false << "stay" << true << true;
        QTest::newRow("unsaved, confirmation closed by frame") << false << "frame" << true << true;
        QTest::newRow("unsaved, Выйти") << false << "leave" << true << false;
        QTest::newRow("saved") << true << "leave" << false << false;
    }

    void exitAsksOnlyWhenUnsaved() {
        QFETCH(bool, saved);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, stays);
        bool wasAsked = false;
        QString surnameAfter;
        const bool stayed = stillOpenAfter([&](ResultsWindow* results) {
            if (saved)
                buttonOf(results, "saveButton")->click();
            testing::step([&] {
                auto* confirmation = testing::visibleWindow<ExitConfirmWindow>();
                if (!confirmation)
                    return;
                wasAsked = true;
                if (answer == u"leave")
                    buttonOf(confirmation, "leaveButton")->click();
                else if (answer == u"stay")
                    buttonOf(confirmation, "stayButton")->click();
                else
                    testing::closeByFrame(confirmation);
            });
            buttonOf(results, "exitButton")->click();
            surnameAfter = textOf(results, "surnameValue");
        });
        QCOMPARE(wasAsked, asked);
        QCOMPARE(stayed, stays);
        QCOMPARE(surnameAfter, QStringLiteral("Иванова"));
    }

    void frameClosesWithoutAsking() {
        bool asked = false;
        bool saved = true;
        const bool stayed = stillOpenAfter([&](ResultsWindow* results) {
            testing::step([&] {
                if (auto* confirmation = testing::visibleWindow<ExitConfirmWindow>()) {
                    asked = true;
                    buttonOf(confirmation, "leaveButton")->click();
                }
            });
            testing::closeByFrame(results);
            saved = results->saved();
        });
        QVERIFY(!stayed);
        QVERIFY(!asked);
        QVERIFY(!saved);
    }

    // The whole on-screen test, from the main window's "Тест" to the results, closed by the
    // results window's frame: every window of the chain closes and the main window shows.
    void closingUnwindsTestChain() {
        m_dir->installProgramFolder();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        MainWindow mainWindow;
        mainWindow.show();
        bool resultsSeen = false;
        QPointer<InstructionsWindow> instructions;
        QPointer<SubjectDataWindow> subjectData;
        QPointer<TestWindow> test;
        QPointer<ResultsWindow> results;

        testing::step([&] { // in the instructions
            instructions = testing::visibleWindow<InstructionsWindow>();
            QVERIFY(instructions);
            testing::step([&] { // in the subject data window
                subjectData = testing::visibleWindow<SubjectDataWindow>();
                QVERIFY(subjectData);
                typeSubjectInto(subjectData);
                testing::step([&] { // in the test window
                    test = testing::visibleWindow<TestWindow>();
                    QVERIFY(test);
                    for (int statement = 1; statement <= scoring::kItems; ++statement) {
                        if (statement == scoring::kItems)
                            testing::step([&] { // in the results window
                                results = testing::visibleWindow<ResultsWindow>();
                                resultsSeen =
                                    results && !test->isVisible() && !subjectData->isVisible() &&
                                    !instructions->isVisible() && !mainWindow.isVisible() &&
                                    textOf(results, "surnameValue") == u"Петров";
                                testing::closeByFrame(results);
                            });
                        test->tickAnswer(1);
                        buttonOf(test, "continueButton")->click();
                    }
                });
                buttonOf(subjectData, "continueButton")->click();
            });
            buttonOf(instructions, "continueButton")->click();
        });
        buttonOf(&mainWindow, "testButton")->click();

        QVERIFY(resultsSeen);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(instructions.isNull());
        QVERIFY(subjectData.isNull());
        QVERIFY(test.isNull());
        QVERIFY(results.isNull());
    }

    // Manual entry: the results window hides the manual entry window and closes it when it
    // closes, so that window's showing ends too.
    void closingUnwindsManualEntry() {
        m_dir->installProgramFolder();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        bool resultsSeen = false;
        bool manualReturned = false;
        bool closedByRescue = false;
        QPointer<ManualEntryWindow> manual;
        QPointer<ResultsWindow> results;
        testing::step([&] { // in the manual entry window
            manual = testing::visibleWindow<ManualEntryWindow>();
            QVERIFY(manual);
            child<QLineEdit>(manual, "surnameEdit")->setText(QStringLiteral("Сидоров"));
            for (int statement = 1; statement <= scoring::kItems; ++statement)
                manual->chooseBox(3 * (statement - 1) + testAnswer(statement));
            testing::step([&] { // in the results window
                results = testing::visibleWindow<ResultsWindow>();
                resultsSeen = results && !manual->isVisible() &&
                              textOf(results, "surnameValue") == u"Сидоров";
                testing::closeByFrame(results);
            });
            buttonOf(manual, "resultButton")->click();
            testing::step([&] {
                if (manualReturned || !manual)
                    return;
                closedByRescue = true; // the results window did not close it
                testing::closeByFrame(manual);
            });
        });
        ui::openWindow<ManualEntryWindow>(nullptr);
        manualReturned = true;
        QCoreApplication::processEvents();
        QVERIFY(resultsSeen);
        QVERIFY(manual.isNull());
        QVERIFY(results.isNull());
        QVERIFY(!closedByRescue);
    }

    void scaleLinksOpenFreshExplanations() {
        auto results = createResults(scoring::EntryMode::Test);
        const auto link = [&](int scale) {
            return numbered<ui::ClickLabel>(results.get(), "scaleLink", scale);
        };
        QCOMPARE(link(1)->text(), QStringLiteral("Л____"));
        QCOMPARE(link(9)->text(), QStringLiteral("I_____"));
        QCOMPARE(link(17)->text(), QStringLiteral("Q4___"));
        QCOMPARE(link(5)->cursor().shape(), Qt::PointingHandCursor);

        struct Seen {
            QString title, poles, low, high;
        };
        std::vector<Seen> seen;
        for (int scale : {4, 14}) {
            QPointer<ExplanationWindow> shown;
            testing::step([&] {
                shown = testing::visibleWindow<ExplanationWindow>();
                QVERIFY(shown);
                seen.push_back({textOf(shown, "titleLabel"),
                                child<QLineEdit>(shown, "polesField")->text(),
                                child<QPlainTextEdit>(shown, "lowPoleText")->toPlainText(),
                                child<QPlainTextEdit>(shown, "highPoleText")->toPlainText()});
                testing::closeByFrame(shown);
            });
            QTest::mouseClick(link(scale), Qt::LeftButton);
            QVERIFY(shown.isNull());
        }
        QCOMPARE(seen.size(), std::size_t(2));
        QCOMPARE(seen[0].title, QStringLiteral("Фактор \"C\""));
        QCOMPARE(seen[0].poles,
                 QStringLiteral("\"эмоциональная нестабильность -эмоциональная стабильность\""));
        QVERIFY(seen[0].low.startsWith(QStringLiteral("C-")));
        QVERIFY(seen[0].high.startsWith(QStringLiteral("C+")));
        QCOMPARE(seen[1].title, QStringLiteral("Фактор \"Q1\""));
        QCOMPARE(seen[1].poles, QStringLiteral("\"консерватизм - радикализм\""));
        QVERIFY(seen[1].low.startsWith(QStringLiteral("Q1-")));
        QVERIFY(seen[1].high.startsWith(QStringLiteral("Q1+")));
    }

    void explanationsHaveAllScales() {
        const QStringList codes = {"MD", "A", "B", "C", "E",  "F",  "G",  "H", "I",
                                   "L",  "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};
        for (int k = 1; k <= 17; ++k) {
            const scoring::Explanation& entry = graphics::explanationOf(k);
            const QString code = codes[k - 1];
            QCOMPARE(entry.title, k == 1 ? QStringLiteral("Фактор \"Л\" (MD)")
                                         : QStringLiteral("Фактор \"%1\"").arg(code));
            QVERIFY(!entry.poles.isEmpty());
            QVERIFY2(entry.low.startsWith(code + u'-'), qPrintable(entry.low));
            QVERIFY2(entry.high.startsWith(code + u'+'), qPrintable(entry.high));

            // Its window shows all of it: the poles on their one line, each paragraph whole.
            ExplanationWindow window(nullptr, entry);
            window.create();
            window.show();
            QVERIFY2(showsWholeText(child<QLineEdit>(&window, "polesField")), qPrintable(code));
            for (const char* name : {"lowPoleText", "highPoleText"})
                QVERIFY2(child<QPlainTextEdit>(&window, name)->verticalScrollBar()->maximum() == 0,
                         qPrintable(code + u' ' + QLatin1String(name)));
        }
    }

private:
    static void typeSubjectInto(const SubjectDataWindow* window) {
        child<QLineEdit>(window, "surnameEdit")->setText(QStringLiteral("Петров"));
        child<QLineEdit>(window, "firstNameEdit")->setText(QStringLiteral("Пётр"));
        child<QLineEdit>(window, "courseEdit")->setText(QStringLiteral("1"));
        child<QLineEdit>(window, "groupEdit")->setText(QStringLiteral("Ф-11"));
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
