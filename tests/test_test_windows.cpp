// The on-screen test: instructions, subject data and the test window, one statement at a time
// into the test window's answers, and the chain back to the main window.

#include "app/main_window.h"
#include "collect/instructions_window.h"
#include "collect/manual_entry_window.h"
#include "collect/subject_data_window.h"
#include "collect/test_window.h"
#include "platform/codepage.h"
#include "platform/dates.h"
#include "results/results_window.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/stens.h"
#include "tests/support/test_support.h"
#include "ui/chain_window.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

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

const char* const kLetters[3] = {"A", "B", "C"};

// A control of the test window named for answer 1, 2 or 3: "answerBox" gives answerBoxA and so on.
template <class Control> Control* ofAnswer(const TestWindow& window, const char* role, int answer) {
    const QByteArray name = QByteArray(role) + kLetters[answer - 1];
    return testing::child<Control>(&window, name.constData());
}

QPushButton* continueButton(const QWidget& window) {
    return testing::child<QPushButton>(&window, "continueButton");
}

QString statementNumber(const TestWindow& window) {
    return testing::child<QLabel>(&window, "statementNumber")->text();
}

QStringList shownTexts(const TestWindow& window) {
    QStringList texts = {testing::child<QPlainTextEdit>(&window, "statementText")->toPlainText()};
    for (int answer = 1; answer <= 3; ++answer)
        texts << ofAnswer<QPlainTextEdit>(window, "answerText", answer)->toPlainText();
    return texts;
}

// The answer whose tick the window shows, 0 for none; -1 if more than one is shown.
int shownTick(const TestWindow& window) {
    int shown = 0;
    int answer = 0;
    for (int k = 1; k <= 3; ++k) {
        if (ofAnswer<QLabel>(window, "tick", k)->isVisibleTo(&window)) {
            ++shown;
            answer = k;
        }
    }
    return shown > 1 ? -1 : answer;
}

// Types `text` into the focused control one character at a time, as the keyboard does.
void typeText(const QString& text) {
    for (const QChar character : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
    }
}

// What the mouse hits at a point of the window: the topmost control there.
void clickAt(TestWindow& window, QPoint point) {
    QWidget* target = window.childAt(point);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&window, point));
}

// Ticks `answer` by a click on its box and presses "Продолжить".
void answerStatement(TestWindow& window, int answer) {
    QWidget* box = ofAnswer<QWidget>(window, "answerBox", answer);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(continueButton(window), Qt::LeftButton);
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

// Answers `answer` on the test window; a window this opens over it is handed to `whenOpen` and
// closed. Says whether one opened; `whenOpen` sees nullptr when the answer opened nothing.
bool answerClosingWhatOpens(TestWindow& window, int answer,
                            const std::function<void(ui::ChainWindow*)>& whenOpen = {}) {
    bool ran = false;
    bool opened = false;
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        ran = true;
        ui::ChainWindow* other = openedOverTest();
        opened = other != nullptr;
        if (whenOpen)
            whenOpen(other);
        if (other)
            other->close();
    });
    closer.start(0);
    answerStatement(window, answer);
    closer.stop(); // nothing opened: the step must not fire later inside another test
    if (!ran && whenOpen)
        whenOpen(nullptr);
    return opened;
}

// A test window as the subject data window opens it, but driven here step by step: the
// subject data window beneath it, its owner, exists, hidden, as it does in the chain.
struct TestRun {
    SubjectDataWindow subject{nullptr};
    TestWindow window;

    explicit TestRun(const scoring::Subject& typed = {}) : window(&subject, typed) {
        window.create();
        window.show();
    }

    // Answers all statements; the results window that the last answer opens is looked at by
    // `whenResultsOpen` and closed.
    void answerAll(const std::function<int(int)>& answerOf,
                   const std::function<void(ui::ChainWindow*)>& whenResultsOpen) {
        for (int s = 1; s < kStatements; ++s)
            answerStatement(window, answerOf(s));
        answerClosingWhatOpens(window, answerOf(kStatements), whenResultsOpen);
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
        QCOMPARE(statementNumber(run.window), QStringLiteral("1"));
        QCOMPARE(continueButton(run.window)->text(), QStringLiteral("Продолжить"));
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
        TestRun run;
        TestWindow& window = run.window;

        const QMap<QString, QPoint> points = {{"box a", {110, 244}},  {"box b", {116, 300}},
                                              {"box c", {116, 356}},  {"tick b", {100, 285}},
                                              {"text a", {300, 240}}, {"text b", {300, 295}},
                                              {"text c", {300, 350}}, {"statement", {300, 120}}};
        for (const QString& click : clicks) {
            clickAt(window, points.value(click));
            if (click == u"tick b")
                QCOMPARE(window.childAt(points.value(click)),
                         ofAnswer<QLabel>(window, "tick", 2)); // it lies on top
        }
        QCOMPARE(shownTick(window), tick);

        QTest::mouseClick(continueButton(window), Qt::LeftButton);
        QCOMPARE(window.answers().answer(1), quint8(recorded));
        QCOMPARE(window.answers().answer(2), quint8(0)); // only the statement on screen
        if (recorded == 0) {
            QCOMPARE(statementNumber(window), QStringLiteral("1"));
            QCOMPARE(shownTexts(window), itemTexts(1));
            QCOMPARE(shownTick(window), tick);
        } else {
            QCOMPARE(statementNumber(window), QStringLiteral("2"));
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
        const auto pressOn = [&](QWidget* target, int code, const QString& typed,
                                 Qt::KeyboardModifiers with) {
            QKeyEvent event(QEvent::KeyPress, code, with, typed);
            QApplication::sendEvent(target, &event);
        };
        const auto press = [&](int code, const QString& typed, Qt::KeyboardModifiers with) {
            pressOn(continueButton(window), code, typed, with);
        };
        // A tick already shown is replaced; a key that stands for no answer leaves it.
        const int before = tick == 0 ? 2 : tick % 3 + 1;
        const int after = tick == 0 ? before : tick;
        press(Qt::Key_1 + before - 1, QString::number(before), {});
        QCOMPARE(shownTick(window), before);
        press(key, text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(shownTick(window), after);

        press(Qt::Key_Return, QStringLiteral("\r"), {});
        QCOMPARE(window.answers().answer(1), quint8(after));
        QCOMPARE(statementNumber(window), QStringLiteral("2"));

        // Enter without a tick is refused like the button.
        press(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier);
        QCOMPARE(statementNumber(window), QStringLiteral("2"));
        QCOMPARE(window.answers().answer(2), quint8(0));
        press(Qt::Key_3, QStringLiteral("3"), {});
        // Enter that reaches the window itself, no button having the focus, presses it too.
        pressOn(&window, Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier);
        QCOMPARE(window.answers().answer(2), quint8(3));
        QCOMPARE(statementNumber(window), QStringLiteral("3"));
    }

    // A questionnaire of 418 lines shows statement 105 without its answers b and c.
    void finishCaptionAtStatement105_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("420 lines") << 420 << itemTexts(105);
        QTest::newRow("418 lines") << 418 << QStringList{"Утверждение 105", "ответ а 105", "", ""};
    }
    void finishCaptionAtStatement105() {
        QFETCH(int, lines);
        QFETCH(QStringList, texts);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(lines));
        TestRun run;
        TestWindow& window = run.window;
        for (int s = 1; s <= 103; ++s)
            answerStatement(window, s % 3 + 1);
        QCOMPARE(statementNumber(window), QStringLiteral("104"));
        QCOMPARE(continueButton(window)->text(), QStringLiteral("Продолжить"));
        answerStatement(window, 1);
        QCOMPARE(statementNumber(window), QStringLiteral("105"));
        QCOMPARE(continueButton(window)->text(), QStringLiteral("Закончить"));
        QCOMPARE(shownTexts(window), texts);
        QCOMPARE(window.answeredCount(), 104);
        QCOMPARE(window.answers().answer(104), quint8(1));
        QCOMPARE(window.answers().answer(105), quint8(0));
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
        const scoring::Subject typed{QStringLiteral("Петрова"), QStringLiteral("Анна"),
                                     QStringLiteral("2"), QStringLiteral("ПС-21")};
        TestRun run(typed);
        const auto answerOf = [](int s) { return (s * 7) % 3 + 1; };
        scoring::AnswerSheet expected;
        for (int s = 1; s <= kStatements; ++s)
            expected.setAnswer(s, quint8(answerOf(s)));

        bool sawResults = false;
        run.answerAll(answerOf, [&](ui::ChainWindow* opened) {
            auto* results = qobject_cast<ResultsWindow*>(opened);
            QVERIFY(results);
            sawResults = true;
            QCOMPARE(testing::visibleWindow<ResultsWindow>(), results);
            QCOMPARE(results->parentWidget(), &run.window);
            // Everything is in place when the results window is created: all the answers
            // scored, the subject shown, and the result saved as an on-screen test.
            for (int s = 1; s <= kStatements; ++s)
                QCOMPARE(run.window.answers().answer(s), quint8(answerOf(s)));
            QVERIFY(results->scored());
            QVERIFY(results->profile() ==
                    scoring::toStens(scoring::scoreSheet(scoring::loadKey(), expected).raw));
            QCOMPARE(testing::child<QLabel>(results, "surnameValue")->text(), typed.surname);
            QCOMPARE(testing::child<QLabel>(results, "groupValue")->text(), typed.group);
            QTest::mouseClick(testing::child<QPushButton>(results, "saveButton"), Qt::LeftButton);
            const QString file = scoring::resultFileName(QDate::currentDate());
            QCOMPARE(scoring::recordCount(file), 1);
            QCOMPARE(scoring::readRecord(file, 0).manualEntry, quint8(scoring::EntryMode::Test));
        });
        QVERIFY(sawResults);
        QVERIFY(!testing::visibleWindow<ResultsWindow>());
        for (int s = 1; s <= kStatements; ++s)
            QCOMPARE(run.window.answers().answer(s), quint8(answerOf(s)));
    }

    // A second test starts from a clean sheet and keeps only its own answers.
    void secondTestOverwritesFirst() {
        testing::TempWorkDir dir;
        installQuestionnaire(dir, 420);
        const auto first = [](int) { return 1; };
        const auto second = [](int s) { return s % 2 ? 3 : 2; };
        {
            TestRun run;
            run.answerAll(first, [](ui::ChainWindow*) {});
            QCOMPARE(run.window.answers().answer(105), quint8(1));
        }
        {
            TestRun run;
            QCOMPARE(statementNumber(run.window), QStringLiteral("1")); // starts again at 1
            for (int s = 1; s <= kStatements; ++s)
                QCOMPARE(run.window.answers().answer(s), quint8(0));
            run.answerAll(second, [](ui::ChainWindow*) {});
            for (int s = 1; s <= kStatements; ++s)
                QCOMPARE(run.window.answers().answer(s), quint8(second(s)));
        }
    }

    void missingQuestionnaire() {
        // Nothing can be shown: the error is reported, and the window neither records nor
        // moves on, so a test without statements never reaches scoring.
        testing::TempWorkDir dir;
        installQuestionnaire(dir, -1);
        TestRun run;
        TestWindow& window = run.window;
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{"File not found"});
        QCOMPARE(shownTexts(window), (QStringList{"", "", "", ""}));
        QVERIFY(!window.questionnaireOpen());

        for (int press = 0; press < 3; ++press)
            QVERIFY(!answerClosingWhatOpens(window, 1));
        QCOMPARE(window.answeredCount(), 0);
        QCOMPARE(statementNumber(window), QStringLiteral("1"));
        QCOMPARE(window.answers().answer(1), quint8(0));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void subjectDataWindow() {
        testing::TempWorkDir dir;
        InstructionsWindow instructions(nullptr);
        instructions.show();
        SubjectDataWindow subject(&instructions);
        subject.create();

        const QLabel* dateLabel = testing::child<QLabel>(&subject, "dateLabel");
        const QString date = dateLabel->text();
        QCOMPARE(date,
                 QStringLiteral("Сегодня  ") + platform::formatShortDate(QDate::currentDate()));
        // The short date of the Russian locale the tests set.
        QVERIFY2(QRegularExpression(QStringLiteral("^Сегодня  \\d\\d\\.\\d\\d\\.\\d{4}$"))
                     .match(date)
                     .hasMatch(),
                 qPrintable(date));
        QCOMPARE(dateLabel->width(), dateLabel->sizeHint().width()); // not cut off
        QVERIFY(instructions.isHidden());
        for (const QLineEdit* field : subject.findChildren<QLineEdit*>())
            QCOMPARE(field->text(), QStringLiteral("нет"));
    }

    // Both windows that take a subject's data open with the surname's "нет" selected, so that
    // typing replaces it; Tab goes through every field in the order they are read, and through
    // every button, before it comes back.
    void subjectFieldsReadyForTyping_data() {
        QTest::addColumn<bool>("manualEntry");
        QTest::newRow("subject data") << false;
        QTest::newRow("manual entry") << true;
    }
    void subjectFieldsReadyForTyping() {
        QFETCH(bool, manualEntry);
        testing::TempWorkDir dir;
        SubjectDataWindow subjectWindow(nullptr);
        ManualEntryWindow manualWindow(nullptr);
        ui::ChainWindow& window =
            manualEntry ? static_cast<ui::ChainWindow&>(manualWindow) : subjectWindow;
        window.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        typeText(QStringLiteral("Иванов"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeText(QStringLiteral("Анна"));
        const scoring::Subject typed =
            manualEntry ? manualWindow.subject() : subjectWindow.subject();
        QCOMPARE(typed.surname, QStringLiteral("Иванов"));
        QCOMPARE(typed.firstName, QStringLiteral("Анна"));

        const QList<QWidget*> order =
            testing::tabOrder(testing::child<QLineEdit>(&window, "surnameEdit"));
        QStringList fields;
        for (const QWidget* control : order) {
            if (qobject_cast<const QLineEdit*>(control))
                fields << control->objectName();
        }
        QCOMPARE(fields, (QStringList{"surnameEdit", "firstNameEdit", "courseEdit", "groupEdit"}));
        for (QPushButton* button : window.findChildren<QPushButton*>())
            QVERIFY2(order.contains(button), qPrintable(button->objectName()));
    }

    // The subject's fields hold what a result record keeps: characters beyond its length, and
    // characters code page 1251 does not have, are refused as they are typed.
    void subjectFieldsHoldWhatIsSaved_data() {
        QTest::addColumn<bool>("manualEntry"); // the manual entry window, else subject data
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Kazakh letters refused")
            << false << "surnameEdit" << QStringLiteral("Нұрланқызы Әлия")
            << QStringLiteral("Нрланызы лия");
        QTest::newRow("surname cut at 20")
            << false << "surnameEdit" << QStringLiteral("Иванова-Петрова Анастасия")
            << QStringLiteral("Иванова-Петрова Анас");
        QTest::newRow("first name cut at 20")
            << false << "firstNameEdit" << QStringLiteral("Мария-Александра Анна")
            << QStringLiteral("Мария-Александра Анн");
        QTest::newRow("course cut at 5")
            << false << "courseEdit" << QStringLiteral("3 курс") << QStringLiteral("3 кур");
        QTest::newRow("group cut at 5")
            << false << "groupEdit" << QStringLiteral("ПС-21б") << QStringLiteral("ПС-21");
        QTest::newRow("manual entry: Kazakh letters refused")
            << true << "surnameEdit" << QStringLiteral("Әлия Нұрланқызы")
            << QStringLiteral("лия Нрланызы");
        QTest::newRow("manual entry: signs of code page 1251 kept")
            << true << "firstNameEdit" << QStringLiteral("Ґалина №1 — O’Нил")
            << QStringLiteral("Ґалина №1 — O’Нил");
        QTest::newRow("manual entry: course cut at 5")
            << true << "courseEdit" << QStringLiteral("1234567") << QStringLiteral("12345");
        QTest::newRow("manual entry: Chinese refused, group cut at 5")
            << true << "groupEdit" << QStringLiteral("ПС李-21б") << QStringLiteral("ПС-21");
    }
    void subjectFieldsHoldWhatIsSaved() {
        QFETCH(bool, manualEntry);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        testing::TempWorkDir dir;
        SubjectDataWindow subjectWindow(nullptr);
        ManualEntryWindow manualWindow(nullptr);
        QWidget& window = manualEntry ? static_cast<QWidget&>(manualWindow) : subjectWindow;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* edit = testing::child<QLineEdit>(&window, qPrintable(field));
        edit->setFocus();
        edit->clear();
        typeText(typed);
        QCOMPARE(edit->text(), shown);

        // The record keeps every field as the window shows it.
        const scoring::Subject subject =
            manualEntry ? manualWindow.subject() : subjectWindow.subject();
        scoring::ResultRecord record;
        record.surname = subject.surname;
        record.firstName = subject.firstName;
        record.course = subject.course;
        record.group = subject.group;
        const scoring::ResultRecord saved = scoring::decodeRecord(scoring::encodeRecord(record));
        QCOMPARE((QStringList{saved.surname, saved.firstName, saved.course, saved.group}),
                 (QStringList{subject.surname, subject.firstName, subject.course, subject.group}));
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
        mainWindow.show();

        bool reachedTest = false;
        testing::step([&] {
            InstructionsWindow* instructions = testing::visibleWindow<InstructionsWindow>();
            QVERIFY(instructions);
            QCOMPARE(instructions->parentWidget(), &mainWindow);
            QVERIFY(mainWindow.isHidden());
            QVERIFY(!testing::child<QPlainTextEdit>(instructions, "instructionText")
                         ->toPlainText()
                         .isEmpty());
            QVERIFY(QTest::qWaitForWindowActive(instructions));
            testing::step([&] {
                SubjectDataWindow* subject = testing::visibleWindow<SubjectDataWindow>();
                QVERIFY(subject);
                QVERIFY(instructions->isHidden());
                QCOMPARE(subject->focusWidget(), testing::child<QLineEdit>(subject, "surnameEdit"));
                testing::step([&, subject] {
                    TestWindow* test = testing::visibleWindow<TestWindow>();
                    QVERIFY(test);
                    QVERIFY(subject->isHidden());
                    QCOMPARE(ui::MessageBox::takeRecorded(), messages);
                    for (int s = 1; s < closeAt; ++s)
                        answerStatement(*test, 3);
                    QCOMPARE(statementNumber(*test), QString::number(closeAt));
                    QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")),
                             lines < 0 ? 0 : 1);
                    // The subject's data came along as typed, untouched.
                    QCOMPARE(test->subject().surname, QStringLiteral("нет"));
                    QCOMPARE(test->subject().group, QStringLiteral("нет"));
                    // Answers kept, not scored.
                    for (int s = 1; s < closeAt; ++s)
                        QCOMPARE(test->answers().answer(s), quint8(3));
                    QCOMPARE(test->answers().answer(closeAt), quint8(0));
                    reachedTest = true;
                    testing::closeByFrame(test);
                });
                continueButton(*subject)->click(); // every field left at "нет"
            });
            // Enter as the window opens goes on.
            QTest::keyClick(instructions->focusWidget(), Qt::Key_Return);
        });
        testing::child<QPushButton>(&mainWindow, "testButton")->click();

        QVERIFY(reachedTest);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(mainWindow.findChildren<ui::ChainWindow*>().isEmpty()); // all destroyed
        QVERIFY(!openedOverTest());
        QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")), 0);
    }

    void backFromInstructions() {
        MainWindow mainWindow;
        mainWindow.show();
        bool sawIt = false;
        testing::step([&] {
            InstructionsWindow* instructions = testing::visibleWindow<InstructionsWindow>();
            QVERIFY(instructions);
            QVERIFY(mainWindow.isHidden());
            sawIt = true;
            testing::child<QPushButton>(instructions, "backButton")->click();
        });
        testing::child<QPushButton>(&mainWindow, "testButton")->click();
        QVERIFY(sawIt);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(mainWindow.findChildren<ui::ChainWindow*>().isEmpty());
    }
};

QTEST_MAIN(TestTestWindows)
#include "test_test_windows.moc"
