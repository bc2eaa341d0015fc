// The results window: what it shows for a scored sheet, saving, leaving, the way it closes the
// window chain, the scale links, and what it refuses after a key error.

#include "app/app_state.h"
#include "results/exit_confirm_window.h"
#include "app/main_window.h"
#include "ui/ui_kit.h"
#include "collect/instructions_window.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "platform/dates.h"
#include "ui/message_box.h"
#include "results/explanation_window.h"
#include "results/explanations.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "scoring/result_file.h"
#include "scoring/stens.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <memory>

using app::state;

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

void fillSheet() {
    for (int item = 1; item <= scoring::kItems; ++item)
        state().AnswerSheet.setAnswer(item, quint8(testAnswer(item)));
}

int keyDigit(const QByteArray& key, int item) {
    return key[3 * (item - 1) + testAnswer(item) - 1] - '0';
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

} // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempWorkDir> m_dir;
    std::unique_ptr<SubjectDataWindow> m_subject;
    std::unique_ptr<TestWindow> m_test;
    std::unique_ptr<ManualEntryWindow> m_manual;
    QTimer m_watchdog;

    // The subject's data as typed into the window of the given mode.
    void typeSubject(int manualEntry, const QString& surname) {
        const std::array<QLineEdit*, 4> fields =
            manualEntry == 1 ? std::array<QLineEdit*, 4>{m_manual->Edit1, m_manual->Edit2,
                                                         m_manual->Edit3, m_manual->Edit4}
                             : std::array<QLineEdit*, 4>{m_subject->Edit1, m_subject->Edit2,
                                                         m_subject->Edit3, m_subject->Edit4};
        const QStringList texts = {surname, QStringLiteral("Мария"), QStringLiteral("2"),
                                   QStringLiteral("ПС-21")};
        for (int i = 0; i < 4; ++i)
            fields[std::size_t(i)]->setText(texts[i]);
    }

    // The openers of both modes exist, visible, as they are when a results window opens.
    void setUpOpeners(int manualEntry, const QString& surname = QStringLiteral("Иванова")) {
        m_subject = std::make_unique<SubjectDataWindow>(nullptr);
        m_test = std::make_unique<TestWindow>(nullptr);
        m_manual = std::make_unique<ManualEntryWindow>(nullptr);
        state().Form4 = m_subject.get();
        state().Form5 = m_test.get();
        state().Form10 = m_manual.get();
        state().setManualEntry(quint8(manualEntry));
        typeSubject(manualEntry, surname);
        m_test->show();
        m_manual->show();
    }

    // A results window created the way its opener creates it, shown but not modally.
    std::unique_ptr<ResultsWindow> createResults() {
        auto window = std::make_unique<ResultsWindow>(nullptr);
        state().Form6 = window.get();
        window->create();
        window->show();
        return window;
    }

    // Opens the results window modally, runs `step` inside its showing, and tells whether the
    // window was still open after the step (it is then closed by its frame).
    bool stillOpenAfter(const std::function<void(ResultsWindow*)>& step) {
        bool returned = false;
        bool stayed = false;
        testing::later([&] {
            step(state().Form6);
            testing::later([&] {
                if (returned)
                    return;
                stayed = true;
                testing::closeByFrame(state().Form6);
            });
        });
        ui::openWindow(m_test.get(), state().Form6);
        returned = true;
        QCoreApplication::processEvents();
        return stayed;
    }

private slots:
    void init() {
        testing::prepareGuiTest();
        m_dir = std::make_unique<testing::TempWorkDir>();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        m_dir->makeFolder(QStringLiteral("result"));
        fillSheet();
        m_watchdog.setSingleShot(true);
        m_watchdog.callOnTimeout([] { qFatal("a modal window was left open"); });
        m_watchdog.start(60000);
    }

    void cleanup() {
        m_watchdog.stop();
        state().Form4 = nullptr;
        state().Form5 = nullptr;
        state().Form10 = nullptr;
        m_subject.reset();
        m_test.reset();
        m_manual.reset();
        m_dir.reset();
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void showsScoredSheet_data() {
        QTest::addColumn<int>("manualEntry");
        QTest::newRow("from the test") << 0;
        QTest::newRow("from manual entry") << 1;
    }

    void showsScoredSheet() {
        QFETCH(int, manualEntry);
        setUpOpeners(manualEntry, kLongSurname);
        auto results = createResults();

        QWidget* opener = manualEntry == 1 ? static_cast<QWidget*>(m_manual.get()) : m_test.get();
        QWidget* other = manualEntry == 1 ? static_cast<QWidget*>(m_test.get()) : m_manual.get();
        QVERIFY(!opener->isVisible());
        QVERIFY(other->isVisible());
        QVERIFY(!results->Label51->isVisibleTo(results.get()));
        QCOMPARE(state().SavedFlag, 0);

        QCOMPARE(results->Label7->text(), platform::formatShortDate(QDate::currentDate()));
        QCOMPARE(results->Label8->text(), kLongSurname);
        QVERIFY(results->Label8->width() >=
                QFontMetrics(results->Label8->font()).horizontalAdvance(kLongSurname));
        QCOMPARE(results->Label9->text(), QStringLiteral("Мария"));
        QCOMPARE(results->Label10->text(), QStringLiteral("2"));
        QCOMPARE(results->Label11->text(), QStringLiteral("ПС-21"));

        // Row k of column c is item 17 (c - 1) + k; column 7 holds items 103 to 105.
        const QByteArray key = testKey();
        std::array<int, 17> rowSums{};
        for (int c = 1; c <= 7; ++c) {
            const QStringList digits = lines(results->itemColumns[std::size_t(c - 1)]);
            QCOMPARE(digits.size(), c == 7 ? 3 : 17);
            for (int k = 1; k <= digits.size(); ++k) {
                const int item = 17 * (c - 1) + k;
                QCOMPARE(digits[k - 1], QString::number(keyDigit(key, item)));
                rowSums[std::size_t(k - 1)] += digits[k - 1].toInt();
            }
        }
        // The raw totals are the sums of the rows, one per line whatever their width, and
        // the stens are their conversions.
        const QStringList totals = lines(results->Memo8);
        QCOMPARE(totals.size(), 17);
        bool below10 = false, twoDigits = false;
        for (int k = 1; k <= 17; ++k) {
            const int raw = rowSums[std::size_t(k - 1)];
            QCOMPARE(totals[k - 1].trimmed(), QString::number(raw));
            below10 |= raw < 10;
            twoDigits |= raw >= 10;
            const quint8 sten = scoring::stenFor(k, raw);
            QCOMPARE(state().Profile[std::size_t(k - 1)], sten);
            QCOMPARE(results->stenLabel(k)->text(), QString::number(sten));
        }
        QVERIFY(below10 && twoDigits);
        QVERIFY(results->Button1->isEnabled());
        QVERIFY(results->Button3->isEnabled());
    }

    void columnsLineUp() {
        setUpOpeners(0);
        auto results = createResults();
        for (int k = 0; k < 17; ++k) {
            const int top = lineTop(results->Memo1, k);
            for (int c = 2; c <= (k < 3 ? 7 : 6); ++c)
                QCOMPARE(lineTop(results->itemColumns[std::size_t(c - 1)], k), top);
            QCOMPARE(lineTop(results->Memo8, k), top);
        }
        // All 17 lines fit their columns: the last one ends inside the box.
        for (QPlainTextEdit* column : {results->Memo1, results->Memo8}) {
            QTextCursor last(column->document()->findBlockByNumber(16));
            QVERIFY(column->cursorRect(last).bottom() < column->viewport()->height());
            QCOMPARE(column->verticalScrollBar()->value(), 0);
        }
        QTextCursor last7(results->Memo7->document()->findBlockByNumber(2));
        QVERIFY(results->Memo7->cursorRect(last7).bottom() < results->Memo7->viewport()->height());
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
        // The profile of a subject scored before.
        state().Profile.fill(7);
        setUpOpeners(0);
        auto results = createResults();

        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{message});
        QVERIFY(!m_test->isVisible());
        QCOMPARE(results->Label7->text(), platform::formatShortDate(QDate::currentDate()));
        QCOMPARE(results->Label8->text(), QStringLiteral("Иванова"));
        for (QPlainTextEdit* column : results->itemColumns)
            QVERIFY(column->toPlainText().isEmpty());
        QVERIFY(results->Memo8->toPlainText().isEmpty());
        for (int k = 1; k <= 17; ++k)
            QCOMPARE(results->stenLabel(k)->text(), QStringLiteral("Нет"));

        // Nothing new was scored: neither saving nor the chart acts on the old profile.
        QVERIFY(!results->Button1->isEnabled());
        QVERIFY(!results->Button3->isEnabled());
        results->Button3Click();
        QCOMPARE(state().SavedFlag, 0);
        QVERIFY(!results->Label51->isVisibleTo(results.get()));
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("result"))).isEmpty());
        bool chartOpened = false;
        testing::later([&] {
            if (state().Form9) {
                chartOpened = true;
                testing::closeByFrame(state().Form9);
            }
        });
        results->Button1Click();
        QCoreApplication::processEvents();
        QVERIFY(!chartOpened);
    }

    void savesOnce_data() {
        QTest::addColumn<int>("manualEntry");
        QTest::newRow("from the test") << 0;
        QTest::newRow("from manual entry") << 1;
    }

    void savesOnce() {
        QFETCH(int, manualEntry);
        setUpOpeners(manualEntry, kLongSurname);
        auto results = createResults();
        const QString file = scoring::resultFileName(QDate::currentDate());

        results->Button3->click();
        results->Button3->click();

        QCOMPARE(scoring::recordCount(file), 1);
        QCOMPARE(state().SavedFlag, 1);
        QVERIFY(results->Label51->isVisibleTo(results.get()));
        const scoring::ResultRecord record = scoring::readRecord(file, 0);
        QCOMPARE(record.surname, kLongSurname.left(20));
        QCOMPARE(record.firstName, QStringLiteral("Мария"));
        QCOMPARE(record.course, QStringLiteral("2"));
        QCOMPARE(record.group, QStringLiteral("ПС-21"));
        QCOMPARE(record.scales, state().Profile);
        QCOMPARE(record.date, platform::dayCount(QDate::currentDate()));
        QCOMPARE(int(record.manualEntry), manualEntry);
        // The window still shows the surname whole.
        QCOMPARE(results->Label8->text(), kLongSurname);
    }

    void failedSaveCanBeRepeated() {
        QDir(m_dir->filePath(QStringLiteral("result"))).removeRecursively();
        setUpOpeners(0);
        auto results = createResults();

        results->Button3->click();
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{"Invalid filename"});
        QCOMPARE(state().SavedFlag, 0);
        QVERIFY(!results->Label51->isVisibleTo(results.get()));

        m_dir->makeFolder(QStringLiteral("result"));
        results->Button3->click();
        QCOMPARE(state().SavedFlag, 1);
        QVERIFY(results->Label51->isVisibleTo(results.get()));
        QCOMPARE(scoring::recordCount(scoring::resultFileName(QDate::currentDate())), 1);
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
        setUpOpeners(0);
        bool wasAsked = false;
        QString surnameAfter;
        const bool stayed = stillOpenAfter([&](ResultsWindow* results) {
            if (saved)
                results->Button3->click();
            testing::later([&] {
                ExitConfirmWindow* confirmation = state().Form7;
                if (!confirmation)
                    return;
                wasAsked = true;
                if (answer == u"leave")
                    confirmation->Button1->click();
                else if (answer == u"stay")
                    confirmation->Button2->click();
                else
                    testing::closeByFrame(confirmation);
            });
            results->Button2->click();
            surnameAfter = results->Label8->text();
        });
        QCOMPARE(wasAsked, asked);
        QCOMPARE(stayed, stays);
        QCOMPARE(surnameAfter, QStringLiteral("Иванова"));
        QCOMPARE(state().Form6, nullptr);
    }

    void frameClosesWithoutAsking() {
        setUpOpeners(0);
        bool asked = false;
        const bool stayed = stillOpenAfter([&](ResultsWindow* results) {
            testing::later([&] {
                if (ExitConfirmWindow* confirmation = state().Form7) {
                    asked = true;
                    confirmation->Button1->click();
                }
            });
            testing::closeByFrame(results);
        });
        QVERIFY(!stayed);
        QVERIFY(!asked);
        QCOMPARE(state().SavedFlag, 0);
    }

    // The whole on-screen test, from the main window's "Тест" to the results, closed by the
    // results window's frame: every window of the chain closes and the main window shows.
    void closingUnwindsTestChain() {
        m_dir->installProgramFolder();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        MainWindow mainWindow;
        state().Form1 = &mainWindow;
        mainWindow.show();
        bool resultsSeen = false;

        testing::later([&] {     // in the instructions
            testing::later([&] { // in the subject data window
                typeSubjectInto(state().Form4);
                testing::later([&] { // in the test window
                    TestWindow* test = state().Form5;
                    for (int statement = 1; statement <= scoring::kItems; ++statement) {
                        if (statement == scoring::kItems)
                            testing::later([&] { // in the results window
                                ResultsWindow* results = state().Form6;
                                resultsSeen =
                                    results && results->isVisible() &&
                                    !state().Form5->isVisible() && !state().Form4->isVisible() &&
                                    !state().Form3->isVisible() && !mainWindow.isVisible() &&
                                    results->Label8->text() == u"Петров";
                                testing::closeByFrame(results);
                            });
                        test->Image2Click();
                        test->Button1Click();
                    }
                });
                state().Form4->Button1Click();
            });
            state().Form3->Button2Click();
        });
        mainWindow.Button1Click();

        QVERIFY(resultsSeen);
        QVERIFY(mainWindow.isVisible());
        QCOMPARE(state().Form3, nullptr);
        QCOMPARE(state().Form4, nullptr);
        QCOMPARE(state().Form5, nullptr);
        QCOMPARE(state().Form6, nullptr);
        QCOMPARE(state().manualEntry(), 0);
        state().Form1 = nullptr;
    }

    // Manual entry: the results window hides the manual entry window and closes it when it
    // closes, so that window's showing ends too.
    void closingUnwindsManualEntry() {
        m_dir->installProgramFolder();
        m_dir->writeFile(QStringLiteral("Data/Key.kdt"), testKey());
        bool resultsSeen = false;
        bool manualReturned = false;
        testing::later([&] { // in the manual entry window
            ManualEntryWindow* manual = state().Form10;
            manual->Edit1->setText(QStringLiteral("Сидоров"));
            fillSheet(); // as if typed in on the grid
            state().setManualEntry(1);
            testing::later([&] { // in the results window
                ResultsWindow* results = state().Form6Manual;
                resultsSeen = results && results->isVisible() && !manual->isVisible() &&
                              results->Label8->text() == u"Сидоров";
                testing::closeByFrame(results);
            });
            ui::openWindow(manual, state().Form6Manual);
            testing::later([&] {
                if (manualReturned || !state().Form10)
                    return;
                closedByRescue = true; // the results window did not close it
                testing::closeByFrame(state().Form10);
            });
        });
        ui::openWindow(static_cast<QWidget*>(nullptr), state().Form10);
        manualReturned = true;
        QCoreApplication::processEvents();
        QVERIFY(resultsSeen);
        QCOMPARE(state().Form10, nullptr);
        QCOMPARE(state().Form6Manual, nullptr);
        QVERIFY(!closedByRescue);
    }

    void scaleLinksOpenFreshExplanations() {
        setUpOpeners(0);
        auto results = createResults();
        QCOMPARE(results->scaleLink(1)->text(), QStringLiteral("Л____"));
        QCOMPARE(results->scaleLink(9)->text(), QStringLiteral("I_____"));
        QCOMPARE(results->scaleLink(17)->text(), QStringLiteral("Q4___"));
        QCOMPARE(results->scaleLink(5)->cursor().shape(), Qt::PointingHandCursor);

        struct Seen {
            QString title, poles, low, high;
        };
        std::vector<Seen> seen;
        for (int scale : {4, 14}) {
            testing::later([&] {
                ExplanationWindow* explanation = state().Form8;
                QVERIFY(explanation);
                seen.push_back({explanation->Label1->text(), explanation->Edit1->text(),
                                explanation->Memo1->toPlainText(),
                                explanation->Memo2->toPlainText()});
                testing::closeByFrame(explanation);
            });
            QTest::mouseClick(results->scaleLink(scale), Qt::LeftButton);
            QCOMPARE(state().Form8, nullptr);
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
        QCOMPARE(state().Explanation.title, QStringLiteral("Фактор \"Q1\""));
    }

    void explanationsHaveAllScales() {
        const QStringList codes = {"MD", "A", "B", "C", "E",  "F",  "G",  "H", "I",
                                   "L",  "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};
        for (int k = 1; k <= 17; ++k) {
            const results::Explanation& entry = results::explanationOf(k);
            const QString code = codes[k - 1];
            QCOMPARE(entry.title, k == 1 ? QStringLiteral("Фактор \"Л\" (MD)")
                                         : QStringLiteral("Фактор \"%1\"").arg(code));
            QVERIFY(!entry.poles.isEmpty());
            QVERIFY2(entry.low.startsWith(code + u'-'), qPrintable(entry.low));
            QVERIFY2(entry.high.startsWith(code + u'+'), qPrintable(entry.high));
        }
    }

private:
    bool closedByRescue = false;

    static void typeSubjectInto(SubjectDataWindow* form) {
        form->Edit1->setText(QStringLiteral("Петров"));
        form->Edit2->setText(QStringLiteral("Пётр"));
        form->Edit3->setText(QStringLiteral("1"));
        form->Edit4->setText(QStringLiteral("Ф-11"));
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
