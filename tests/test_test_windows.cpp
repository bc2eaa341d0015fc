// The on-screen test: instructions, subject data and the test window, one statement at a time
// into the AnswerSheet, and the chain back to the main window.

#include "app/app_state.h"
#include "ui/chain_window.h"
#include "app/main_window.h"
#include "ui/ui_kit.h"
#include "collect/instructions_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "platform/codepage.h"
#include "platform/dates.h"
#include "ui/message_box.h"
#include "results/results_window.h"
#include "tests/support/test_support.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kStatements = 105;

// The texts of statement s as the generated questionnaires hold them.
QStringList itemTexts(int s) {
    return {QStringLiteral("Утверждение %1").arg(s), QStringLiteral("ответ а %1").arg(s),
            QStringLiteral("ответ б %1").arg(s), QStringLiteral("ответ в %1").arg(s)};
}

QByteArray questionnaire(int lines) {
    QByteArray bytes;
    for (int line = 0; line < lines; ++line)
        bytes += platform::toCp1251(itemTexts(line / 4 + 1)[line % 4]) + "\r\n";
    return bytes;
}

// A program folder with the key and pictures, and a questionnaire of `lines` lines (none
// for -1).
void installQuestionnaire(const testing::TempWorkDir& dir, int lines) {
    dir.installProgramFolder();
    QFile::remove(dir.filePath(QStringLiteral("Data/data.kdt")));
    if (lines >= 0)
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(lines));
}

QStringList shownTexts(const TestWindow& window) {
    return {window.Memo1->toPlainText(), window.Memo2->toPlainText(), window.Memo3->toPlainText(),
            window.Memo4->toPlainText()};
}

// The answer whose tick the window shows, 0 for none; -1 if more than one is shown.
int shownTick(const TestWindow& window) {
    const bool a = window.Image4->isVisibleTo(&window);
    const bool b = window.Image5->isVisibleTo(&window);
    const bool c = window.Image6->isVisibleTo(&window);
    if (int(a) + int(b) + int(c) > 1)
        return -1;
    return a ? 1 : b ? 2 : c ? 3 : 0;
}

QWidget* answerBox(const TestWindow& window, int answer) {
    return answer == 1 ? window.Image1 : answer == 2 ? window.Image2 : window.Image3;
}

// What the mouse hits at a point of the window: the topmost control there.
void clickAt(TestWindow& window, QPoint point) {
    QWidget* target = window.childAt(point);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&window, point));
}

// Ticks `answer` by a click on its box and presses "Продолжить".
void answerStatement(TestWindow& window, int answer) {
    QWidget* box = answerBox(window, answer);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(window.Button1, Qt::LeftButton);
}

// A visible window of the chain other than the test window: the one the last answer opened.
ui::ChainWindow* openedOverTest() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<ui::ChainWindow*>(widget);
        if (window && window->isVisible() && !qobject_cast<TestWindow*>(window))
            return window;
    }
    return nullptr;
}

// A test window as the subject data window opens it, but driven here step by step: the
// subject data window beneath it exists, hidden, as it does in the chain.
struct TestRun {
    SubjectDataWindow subject{nullptr};
    TestWindow window{nullptr};

    TestRun() {
        app::state().Form4 = &subject;
        app::state().Form5 = &window;
        window.create();
        window.show();
    }
    ~TestRun() {
        app::state().Form5 = nullptr;
        app::state().Form4 = nullptr;
    }

    // Answers all statements; the results window that the last answer opens is looked at by
    // `whenResultsOpen` and closed.
    void answerAll(const std::function<int(int)>& answerOf,
                   const std::function<void(ui::ChainWindow*)>& whenResultsOpen) {
        for (int s = 1; s < kStatements; ++s)
            answerStatement(window, answerOf(s));
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            ui::ChainWindow* results = openedOverTest();
            whenResultsOpen(results);
            if (results)
                results->close();
        });
        closer.start(0);
        answerStatement(window, answerOf(kStatements));
        // Nothing opened: the step must not fire later inside another test.
        if (closer.isActive()) {
            closer.stop();
            whenResultsOpen(nullptr);
        }
    }
};

} // namespace

class TestTestWindows : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        ui::MessageBox::takeRecorded();
    }

    void firstStatementShown_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("texts");
        const QString long300 = QString(150, QChar(u'ы')) + QString(150, QChar(u'z'));
        QTest::newRow("generated questionnaire") << questionnaire(420) << itemTexts(1);
        QTest::newRow("leading spaces and a 300-character line")
            << platform::toCp1251(QStringLiteral("   Отступ\n") + long300 + "\n  б\nв  \n")
            << QStringList{"   Отступ", long300, "  б", "в  "};
        QTest::newRow("LF only, bare CR and 0x1A")
            << QByteArray("s\r1\na1\x1A tail\nb1\nc1\n") << QStringList{"s1", "a1", "b1", "c1"};
    }
    void firstStatementShown() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, texts);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), bytes);
        TestRun run;

        QCOMPARE(shownTexts(run.window), texts);
        QCOMPARE(run.window.Label2->text(), QStringLiteral("1"));
        QCOMPARE(run.window.Button1->text(), QStringLiteral("Продолжить"));
        QCOMPARE(shownTick(run.window), 0);
        QCOMPARE(run.window.answeredCount(), 0);
        QVERIFY(run.subject.isHidden());
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void clicksAndContinue_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("tick");     // the tick shown before "Продолжить"
        QTest::addColumn<int>("recorded"); // answer recorded for statement 1; 0 refused
        QTest::newRow("no tick refuses") << QStringList{} << 0 << 0;
        QTest::newRow("a") << QStringList{"box a"} << 1 << 1;
        QTest::newRow("b") << QStringList{"box b"} << 2 << 2;
        QTest::newRow("a then c records 3") << QStringList{"box a", "box c"} << 3 << 3;
        QTest::newRow("c then a then b") << QStringList{"box c", "box a", "box b"} << 2 << 2;
        QTest::newRow("click on the shown tick does nothing")
            << QStringList{"box b", "tick b"} << 2 << 2;
        QTest::newRow("answer texts and statement do nothing")
            << QStringList{"text a", "text c", "statement"} << 0 << 0;
        QTest::newRow("text after a box keeps the tick")
            << QStringList{"box a", "text b", "statement"} << 1 << 1;
    }
    void clicksAndContinue() {
        QFETCH(QStringList, clicks);
        QFETCH(int, tick);
        QFETCH(int, recorded);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(420));
        app::state().AnswerSheet.setAnswer(2, 3); // left from an earlier test
        TestRun run;
        TestWindow& window = run.window;

        const QMap<QString, QPoint> points = {{"box a", {110, 244}},  {"box b", {116, 300}},
                                              {"box c", {116, 356}},  {"tick b", {100, 285}},
                                              {"text a", {300, 240}}, {"text b", {300, 295}},
                                              {"text c", {300, 350}}, {"statement", {300, 120}}};
        for (const QString& click : clicks) {
            clickAt(window, points.value(click));
            if (click == u"tick b")
                QCOMPARE(window.childAt(points.value(click)), window.Image5); // it lies on top
        }
        QCOMPARE(shownTick(window), tick);

        QTest::mouseClick(window.Button1, Qt::LeftButton);
        QCOMPARE(app::state().AnswerSheet.answer(1), quint8(recorded));
        QCOMPARE(app::state().AnswerSheet.answer(2), quint8(3));
        if (recorded == 0) {
            QCOMPARE(window.Label2->text(), QStringLiteral("1"));
            QCOMPARE(shownTexts(window), itemTexts(1));
            QCOMPARE(shownTick(window), tick);
        } else {
            QCOMPARE(window.Label2->text(), QStringLiteral("2"));
            QCOMPARE(shownTexts(window), itemTexts(2));
            QCOMPARE(shownTick(window), 0); // hidden at the start of every statement
        }
    }

    void keyboardAnswers_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("tick");
        QTest::newRow("1") << int(Qt::Key_1) << "1" << 0 << 1;
        QTest::newRow("2") << int(Qt::Key_2) << "2" << 0 << 2;
        QTest::newRow("3 on the keypad") << int(Qt::Key_3) << "3" << int(Qt::KeypadModifier) << 3;
        QTest::newRow("a") << int(Qt::Key_A) << "a" << 0 << 1;
        QTest::newRow("B") << int(Qt::Key_B) << "B" << int(Qt::ShiftModifier) << 2;
        QTest::newRow("c") << int(Qt::Key_C) << "c" << 0 << 3;
        QTest::newRow("а") << 0x0430 << "а" << 0 << 1;
        QTest::newRow("Б") << 0x0411 << "Б" << int(Qt::ShiftModifier) << 2;
        QTest::newRow("в") << 0x0432 << "в" << 0 << 3;
        QTest::newRow("ф (a key, Russian layout)") << 0x0444 << "ф" << 0 << 1;
        QTest::newRow("и (b key, Russian layout)") << 0x0438 << "и" << 0 << 2;
        QTest::newRow("С (c key, Russian layout)") << 0x0421 << "С" << int(Qt::ShiftModifier) << 3;
        QTest::newRow("4 ticks nothing") << int(Qt::Key_4) << "4" << 0 << 0;
        QTest::newRow("d ticks nothing") << int(Qt::Key_D) << "d" << 0 << 0;
        QTest::newRow("Ctrl+1 ticks nothing")
            << int(Qt::Key_1) << "1" << int(Qt::ControlModifier) << 0;
    }
    void keyboardAnswers() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(int, tick);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(420));
        TestRun run;
        TestWindow& window = run.window;

        // Keys reach the focused button first, as they do when the subject types.
        const auto press = [&](int code, const QString& typed, Qt::KeyboardModifiers with) {
            QKeyEvent event(QEvent::KeyPress, code, with, typed);
            QApplication::sendEvent(window.Button1, &event);
        };
        // A tick already shown is replaced; a key that stands for no answer leaves it.
        const int before = tick == 0 ? 2 : tick % 3 + 1;
        const int after = tick == 0 ? before : tick;
        press(Qt::Key_1 + before - 1, QString::number(before), {});
        QCOMPARE(shownTick(window), before);
        press(key, text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(shownTick(window), after);

        press(Qt::Key_Return, QStringLiteral("\r"), {});
        QCOMPARE(app::state().AnswerSheet.answer(1), quint8(after));
        QCOMPARE(window.Label2->text(), QStringLiteral("2"));

        // Enter without a tick is refused like the button.
        press(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier);
        QCOMPARE(window.Label2->text(), QStringLiteral("2"));
        QCOMPARE(app::state().AnswerSheet.answer(2), quint8(0));
        press(Qt::Key_3, QStringLiteral("3"), {});
        press(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier);
        QCOMPARE(app::state().AnswerSheet.answer(2), quint8(3));
        QCOMPARE(window.Label2->text(), QStringLiteral("3"));
    }

    void finishCaptionAtStatement105() {
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(420));
        TestRun run;
        TestWindow& window = run.window;
        for (int s = 1; s <= 103; ++s)
            answerStatement(window, s % 3 + 1);
        QCOMPARE(window.Label2->text(), QStringLiteral("104"));
        QCOMPARE(window.Button1->text(), QStringLiteral("Продолжить"));
        answerStatement(window, 1);
        QCOMPARE(window.Label2->text(), QStringLiteral("105"));
        QCOMPARE(window.Button1->text(), QStringLiteral("Закончить"));
        QCOMPARE(shownTexts(window), itemTexts(105));
        QCOMPARE(window.answeredCount(), 104);
        QCOMPARE(app::state().AnswerSheet.answer(104), quint8(1));
        QCOMPARE(app::state().AnswerSheet.answer(105), quint8(0));
    }

    void fullRunOpensResults_data() {
        QTest::addColumn<int>("lines");
        QTest::newRow("complete questionnaire") << 420;
        QTest::newRow("418 lines: statement 105 without answers b and c") << 418;
    }
    void fullRunOpensResults() {
        QFETCH(int, lines);
        testing::TempWorkDir dir;
        installQuestionnaire(dir, lines);
        app::state().setManualEntry(1); // left by a manual entry
        TestRun run;
        const auto answerOf = [](int s) { return (s * 7) % 3 + 1; };

        bool sawResults = false;
        QStringList statement105;
        run.answerAll(answerOf, [&](ui::ChainWindow* results) {
            QVERIFY(results);
            sawResults = true;
            QCOMPARE(qobject_cast<ResultsWindow*>(results), app::state().Form6);
            // Everything is in place when the results window is created.
            QCOMPARE(app::state().manualEntry(), quint8(0));
            for (int s = 1; s <= kStatements; ++s)
                QCOMPARE(app::state().AnswerSheet.answer(s), quint8(answerOf(s)));
        });
        QVERIFY(sawResults);
        QVERIFY(!app::state().Form6);
        QCOMPARE(app::state().manualEntry(), quint8(0));
        for (int s = 1; s <= kStatements; ++s)
            QCOMPARE(app::state().AnswerSheet.answer(s), quint8(answerOf(s)));
    }

    void statement105Of418Lines() {
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(418));
        TestRun run;
        for (int s = 1; s <= 104; ++s)
            answerStatement(run.window, 2);
        QCOMPARE(shownTexts(run.window), (QStringList{"Утверждение 105", "ответ а 105", "", ""}));
    }

    void secondTestOverwritesFirst() {
        testing::TempWorkDir dir;
        installQuestionnaire(dir, 420);
        const auto first = [](int) { return 1; };
        const auto second = [](int s) { return s % 2 ? 3 : 2; };
        {
            TestRun run;
            run.answerAll(first, [](ui::ChainWindow*) {});
        }
        QCOMPARE(app::state().AnswerSheet.answer(105), quint8(1));
        {
            TestRun run;
            QCOMPARE(run.window.Label2->text(), QStringLiteral("1")); // starts again at 1
            run.answerAll(second, [](ui::ChainWindow*) {});
        }
        for (int s = 1; s <= kStatements; ++s)
            QCOMPARE(app::state().AnswerSheet.answer(s), quint8(second(s)));
    }

    void missingQuestionnaire() {
        // Nothing can be shown: the error is reported, and the window neither records nor
        // moves on, so a test without statements never reaches scoring.
        testing::TempWorkDir dir;
        installQuestionnaire(dir, -1);
        app::state().setManualEntry(1);
        TestRun run;
        TestWindow& window = run.window;
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{"File not found"});
        QCOMPARE(shownTexts(window), (QStringList{"", "", "", ""}));
        QVERIFY(!window.questionnaireOpen());

        for (int press = 0; press < 3; ++press) {
            bool opened = false;
            QTimer closer;
            closer.setSingleShot(true);
            QObject::connect(&closer, &QTimer::timeout, [&] {
                if (ui::ChainWindow* other = openedOverTest()) {
                    opened = true;
                    other->close();
                }
            });
            closer.start(0);
            answerStatement(window, 1);
            closer.stop();
            QVERIFY(!opened);
        }
        QCOMPARE(window.answeredCount(), 0);
        QCOMPARE(window.Label2->text(), QStringLiteral("1"));
        QCOMPARE(app::state().AnswerSheet.answer(1), quint8(0));
        QCOMPARE(app::state().manualEntry(), quint8(1));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void subjectDataWindow() {
        testing::TempWorkDir dir;
        InstructionsWindow instructions(nullptr);
        instructions.show();
        app::state().Form3 = &instructions;
        SubjectDataWindow subject(nullptr);
        subject.create();
        app::state().Form3 = nullptr;

        const QString date = subject.Label2->text();
        QCOMPARE(date,
                 QStringLiteral("Сегодня  ") + platform::formatShortDate(QDate::currentDate()));
        // The short date of the Russian locale the tests set.
        QVERIFY2(QRegularExpression(QStringLiteral("^Сегодня  \\d\\d\\.\\d\\d\\.\\d{4}$"))
                     .match(date)
                     .hasMatch(),
                 qPrintable(date));
        QCOMPARE(subject.Label2->width(), subject.Label2->sizeHint().width()); // not cut off
        QVERIFY(instructions.isHidden());
        for (QLineEdit* edit : {subject.Edit1, subject.Edit2, subject.Edit3, subject.Edit4})
            QCOMPARE(edit->text(), QStringLiteral("нет"));

        // Keyboard order: surname, first name, course, group, "Продолжить".
        const QList<QWidget*> order = {subject.Edit1, subject.Edit2, subject.Edit3, subject.Edit4,
                                       subject.Button1};
        for (qsizetype i = 0; i + 1 < order.size(); ++i)
            QCOMPARE(order[i]->nextInFocusChain(), order[i + 1]);
    }

    void chainBackToMainWindow_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("closeAt"); // statement on screen when the test window is closed
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("closed at statement 30") << 420 << 30 << QStringList{};
        QTest::newRow("questionnaire missing") << -1 << 1 << QStringList{"File not found"};
    }
    void chainBackToMainWindow() {
        QFETCH(int, lines);
        QFETCH(int, closeAt);
        QFETCH(QStringList, messages);
        testing::TempWorkDir dir;
        installQuestionnaire(dir, lines);
        MainWindow mainWindow;
        app::state().Form1 = &mainWindow;
        mainWindow.show();

        bool reachedTest = false;
        testing::step([&] {
            InstructionsWindow* instructions = testing::visibleWindow<InstructionsWindow>();
            QVERIFY(instructions);
            QCOMPARE(app::state().Form3, instructions);
            QVERIFY(mainWindow.isHidden());
            QVERIFY(!instructions->Memo1->toPlainText().isEmpty());
            testing::step([&] {
                SubjectDataWindow* subject = testing::visibleWindow<SubjectDataWindow>();
                QVERIFY(subject);
                QVERIFY(instructions->isHidden());
                QCOMPARE(subject->focusWidget(), subject->Edit1);
                testing::step([&, subject] {
                    TestWindow* test = testing::visibleWindow<TestWindow>();
                    QVERIFY(test);
                    QVERIFY(subject->isHidden());
                    QCOMPARE(ui::MessageBox::takeRecorded(), messages);
                    for (int s = 1; s < closeAt; ++s)
                        answerStatement(*test, 3);
                    QCOMPARE(test->Label2->text(), QString::number(closeAt));
                    QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")),
                             lines < 0 ? 0 : 1);
                    // The subject's data wait, untouched, in the hidden window beneath.
                    QCOMPARE(app::state().Form4->Edit1->text(), QStringLiteral("нет"));
                    QCOMPARE(app::state().Form4->Edit4->text(), QStringLiteral("нет"));
                    reachedTest = true;
                    testing::closeByFrame(test);
                });
                subject->Button1->click(); // every field left at "нет"
            });
            instructions->Button2->click();
        });
        mainWindow.Button1->click();

        QVERIFY(reachedTest);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(!app::state().Form3 && !app::state().Form4 && !app::state().Form5);
        QVERIFY(!openedOverTest());
        QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")), 0);
        for (int s = 1; s < closeAt; ++s)
            QCOMPARE(app::state().AnswerSheet.answer(s), quint8(3)); // kept, not scored
        QCOMPARE(app::state().AnswerSheet.answer(closeAt), quint8(0));
        app::state().Form1 = nullptr;
    }

    void backFromInstructions() {
        MainWindow mainWindow;
        app::state().Form1 = &mainWindow;
        mainWindow.show();
        bool sawIt = false;
        testing::step([&] {
            InstructionsWindow* instructions = testing::visibleWindow<InstructionsWindow>();
            QVERIFY(instructions);
            QVERIFY(mainWindow.isHidden());
            sawIt = true;
            instructions->Button1->click();
        });
        mainWindow.Button1->click();
        QVERIFY(sawIt);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(!app::state().Form3);
        app::state().Form1 = nullptr;
    }
};

QTEST_MAIN(TestTestWindows)
#include "test_test_windows.moc"
