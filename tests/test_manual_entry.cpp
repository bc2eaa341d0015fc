// Manual entry of a paper answer sheet: the grid's places, clicks and ticks, the pictures,
// "результат" with its warning, the chain to the results window, and keyboard entry.

#include "app/main_window.h"
#include "collect/manual_entry_window.h"
#include "graphics/picture_files.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "results/results_window.h"
#include "scoring/result_file.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"

#include <QDate>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

constexpr int kStatements = ManualEntryWindow::kStatements;

int boxNumber(int statement, int answer) {
    return 3 * (statement - 1) + answer + 1;
}

// Writes the grid's two pictures into the working directory: an opaque square of `boxColor`
// and `boxSize` pixels, and a tick of `tickColor` and `tickSize`. A size of 0 removes the file.
void writePictures(const testing::TempWorkDir& dir, int boxSize, QColor boxColor, int tickSize,
                   QColor tickColor) {
    dir.makeFolder(QStringLiteral("Data"));
    QFile::remove(dir.filePath(QStringLiteral("Data/sq.bmp")));
    QFile::remove(dir.filePath(QStringLiteral("Data/check_icon.ico")));
    if (boxSize > 0) {
        QImage box(boxSize, boxSize, QImage::Format_RGB32);
        box.fill(boxColor);
        QVERIFY(box.save(dir.filePath(QStringLiteral("Data/sq.bmp")), "BMP"));
    }
    if (tickSize > 0) {
        QImage tick(tickSize, tickSize, QImage::Format_ARGB32);
        tick.fill(tickColor);
        QVERIFY(tick.save(dir.filePath(QStringLiteral("Data/check_icon.ico")), "ICO"));
    }
}

// A manual entry window built and created alone, as its opener would, and shown.
std::unique_ptr<ManualEntryWindow> openedWindow() {
    auto window = std::make_unique<ManualEntryWindow>(nullptr);
    window->create();
    window->show();
    return window;
}

void clickAt(ManualEntryWindow& window, const QPoint& point) {
    QTest::mouseClick(window.grid(), Qt::LeftButton, Qt::NoModifier, point);
}

template <class Control> Control* control(const QWidget* window, const char* name) {
    return testing::child<Control>(window, name);
}
QPushButton* resultButton(const QWidget* window) {
    return control<QPushButton>(window, "resultButton");
}
QLabel* incompleteWarning(const QWidget* window) {
    return control<QLabel>(window, "incompleteWarning");
}
QPushButton* manualEntryButton(const QWidget& mainWindow) {
    return control<QPushButton>(&mainWindow, "manualEntryButton");
}

void clickBox(ManualEntryWindow& window, int statement, int answer) {
    clickAt(window, window.box(statement, answer).geometry.center());
}

// The answers that the grid's ticks show, one per statement (0 where no tick is shown); -1
// where more than one tick of a statement is shown.
QList<int> tickedAnswers(const ManualEntryWindow& window) {
    QList<int> answers;
    for (int s = 1; s <= kStatements; ++s) {
        int shown = 0;
        int answer = 0;
        for (int k = 0; k < 3; ++k) {
            if (window.tick(s, k).visible) {
                ++shown;
                answer = k + 1;
            }
        }
        answers << (shown > 1 ? -1 : answer);
    }
    return answers;
}

QList<int> sheetAnswers(const ManualEntryWindow& window) {
    QList<int> answers;
    for (int s = 1; s <= kStatements; ++s)
        answers << window.answers().answer(s);
    return answers;
}

// Sends a key press and release with the given text to the widget that has the focus, the
// way typing does: the press goes up to the window when the focused control leaves it.
void type(int key, const QString& text = QString()) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// A short notation for typed keys: "1", "b", "в", "ф" type that character; "BS", "L", "R",
// "U", "D" and "ESC" the keys Backspace, the four arrows and Escape.
void typeKeys(const QString& keys) {
    for (const QString& token : keys.split(u' ', Qt::SkipEmptyParts)) {
        static const QMap<QString, int> named = {
            {QStringLiteral("BS"), Qt::Key_Backspace}, {QStringLiteral("L"), Qt::Key_Left},
            {QStringLiteral("R"), Qt::Key_Right},      {QStringLiteral("U"), Qt::Key_Up},
            {QStringLiteral("D"), Qt::Key_Down},       {QStringLiteral("ESC"), Qt::Key_Escape}};
        if (named.contains(token))
            type(named.value(token));
        else
            type(Qt::Key_unknown, token);
    }
}

// Whether the grid paints the highlight behind a statement's row: its corner, left of the
// number, differs from that of another row.
bool rowHighlighted(const ManualEntryWindow& window, int statement) {
    const QImage grid = window.grid()->grab().toImage();
    const QPoint offset(1, 1);
    const int other = statement == 1 ? 2 : 1;
    return grid.pixel(collect::AnswerGrid::rowRect(statement).topLeft() + offset) !=
           grid.pixel(collect::AnswerGrid::rowRect(other).topLeft() + offset);
}

// Guards a call that must not open a window: should it open one after all, the window is
// closed at once (and `opened` tells), so the test fails instead of waiting.
struct NothingOpens {
    bool opened = false;
    QTimer timer;
    NothingOpens() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            opened = true;
            testing::unwindAll();
        });
        timer.start(0);
    }
};

} // namespace

class TestManualEntry : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        m_dir = std::make_unique<testing::TempWorkDir>();
        writePictures(*m_dir, 25, Qt::white, 17, Qt::black); // the tests of pictures replace them
    }
    void cleanup() {
        ui::MessageBox::takeRecorded();
        m_dir.reset();
    }

    void texts() {
        const auto window = openedWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("Ввод результатов"));
        const QList<QLineEdit*> fields = {control<QLineEdit>(window.get(), "surnameEdit"),
                                          control<QLineEdit>(window.get(), "firstNameEdit"),
                                          control<QLineEdit>(window.get(), "courseEdit"),
                                          control<QLineEdit>(window.get(), "groupEdit")};
        const QList<QLabel*> captions = {control<QLabel>(window.get(), "surnameCaption"),
                                         control<QLabel>(window.get(), "firstNameCaption"),
                                         control<QLabel>(window.get(), "courseCaption"),
                                         control<QLabel>(window.get(), "groupCaption")};
        const QStringList texts = {QStringLiteral("Фамилия:"), QStringLiteral("Имя:"),
                                   QStringLiteral("Курс:"), QStringLiteral("Группа:")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(captions[i]->text(), texts[i]);
            QCOMPARE(fields[i]->text(), QStringLiteral("нет"));
        }
        QCOMPARE(resultButton(window.get())->text(), QStringLiteral("результат"));
        const QLabel* warning = incompleteWarning(window.get());
        QCOMPARE(warning->text(), QStringLiteral("Не все ответы введены"));
        QVERIFY(warning->font().bold() && warning->font().underline());
        QVERIFY(warning->isHidden());
        for (int n = 1; n <= 2 * ManualEntryWindow::kBoxes; ++n)
            QCOMPARE(window->imageAt(n).visible, n <= ManualEntryWindow::kBoxes);
    }

    void gridPlaces_data() {
        QTest::addColumn<int>("statement");
        QTest::addColumn<int>("boxLeft"); // of answer a
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("numberAt");
        QTest::newRow("1, first row of the first column") << 1 << 40 << 40 << QPoint(24, 48);
        QTest::newRow("17, last row of the first column") << 17 << 40 << 424 << QPoint(24, 432);
        QTest::newRow("18, first row of the second column") << 18 << 144 << 40 << QPoint(128, 48);
        QTest::newRow("99, two digits") << 99 << 560 << 352 << QPoint(544, 360);
        QTest::newRow("100, three digits") << 100 << 560 << 376 << QPoint(536, 384);
        QTest::newRow("103, first row of the seventh column")
            << 103 << 664 << 40 << QPoint(640, 48);
        QTest::newRow("105, last statement") << 105 << 664 << 88 << QPoint(640, 96);
    }
    void gridPlaces() {
        QFETCH(int, statement);
        QFETCH(int, boxLeft);
        QFETCH(int, top);
        QFETCH(QPoint, numberAt);
        const auto window = openedWindow();
        for (int k = 0; k < 3; ++k) {
            const int n = boxNumber(statement, k);
            QCOMPARE(window->imageAt(n).geometry, QRect(boxLeft + 24 * k, top, 25, 25));
            QCOMPARE(window->imageAt(ManualEntryWindow::kBoxes + n).geometry,
                     QRect(boxLeft + 24 * k, top, 17, 17));
        }
        QCOMPARE(collect::AnswerGrid::numberPosition(statement), numberAt);

        // The number is drawn there: dark pixels just right of and below its corner, none in
        // the row above it.
        const QImage grid = window->grid()->grab().toImage();
        const QRect text(
            numberAt,
            QSize(window->grid()->fontMetrics().horizontalAdvance(QString::number(statement)), 8));
        int dark = 0;
        int darkAbove = 0;
        for (int x = text.left(); x <= text.right(); ++x) {
            for (int y = text.top(); y <= text.bottom(); ++y)
                dark += qGray(grid.pixel(x, y)) < 100;
            darkAbove += qGray(grid.pixel(x, numberAt.y() - 2)) < 100;
        }
        QVERIFY2(dark > 5, qPrintable(QStringLiteral("%1 dark pixels").arg(dark)));
        QCOMPARE(darkAbove, 0);
    }

    // Opening after an earlier sheet: the previous subject's answers are gone.
    void openingClearsTheSheet() {
        {
            const auto earlier = openedWindow();
            for (int s = 1; s <= kStatements; ++s)
                clickBox(*earlier, s, 0);
            QCOMPARE(sheetAnswers(*earlier), QList<int>(kStatements, 1));
        }
        const auto window = openedWindow();
        QCOMPARE(sheetAnswers(*window), QList<int>(kStatements, 0));
        QCOMPARE(tickedAnswers(*window), QList<int>(kStatements, 0));
        QCOMPARE(window->currentStatement(), 1);
    }

    void clicksMoveTheAnswer_data() {
        QTest::addColumn<QList<int>>("boxes"); // boxes clicked, in order
        QTest::addColumn<int>("statement");
        QTest::addColumn<int>("answer");
        QTest::newRow("b then c of 40")
            << QList<int>{boxNumber(40, 1), boxNumber(40, 2)} << 40 << 3;
        QTest::newRow("a of 1") << QList<int>{1} << 1 << 1;
        QTest::newRow("the same box twice") << QList<int>{5, 5} << 2 << 2;
        QTest::newRow("c, a, b of 105") << QList<int>{315, 313, 314} << 105 << 2;
        QTest::newRow("17 then 18 keep apart") << QList<int>{51, 52} << 18 << 1;
    }
    void clicksMoveTheAnswer() {
        QFETCH(QList<int>, boxes);
        QFETCH(int, statement);
        QFETCH(int, answer);
        const auto window = openedWindow();
        QList<int> expected(kStatements, 0);
        for (const int n : boxes) {
            const int s = (n - 1) / 3 + 1;
            clickAt(*window, window->imageAt(n).geometry.center());
            expected[s - 1] = (n - 1) % 3 + 1;
            QCOMPARE(window->currentStatement(), s);
        }
        QCOMPARE(expected[statement - 1], answer);
        QCOMPARE(sheetAnswers(*window), expected);
        QCOMPARE(tickedAnswers(*window), expected);
    }

    // A shown tick takes no clicks; the part of its box that it leaves uncovered still does.
    void tickSwallowsClicks_data() {
        QTest::addColumn<QPoint>("offset"); // from the box's corner
        QTest::addColumn<bool>("ticked");   // the box's own tick is shown
        QTest::addColumn<bool>("reachesBox");
        QTest::newRow("on the shown tick") << QPoint(8, 8) << true << false;
        QTest::newRow("tick's last pixel") << QPoint(16, 16) << true << false;
        QTest::newRow("right of the tick") << QPoint(20, 5) << true << true;
        QTest::newRow("below the tick") << QPoint(5, 20) << true << true;
        QTest::newRow("where a hidden tick lies") << QPoint(8, 8) << false << true;
    }
    void tickSwallowsClicks() {
        QFETCH(QPoint, offset);
        QFETCH(bool, ticked);
        QFETCH(bool, reachesBox);
        const auto window = openedWindow();
        const int statement = 40;
        clickBox(*window, statement, ticked ? 1 : 0); // b, or a when b's tick stays hidden
        clickBox(*window, 60, 0);                     // moves the current statement away
        QSignalSpy boxClicks(window->grid(), &collect::AnswerGrid::boxClicked);

        clickAt(*window, window->box(statement, 1).geometry.topLeft() + offset);
        QCOMPARE(boxClicks.count(), reachesBox ? 1 : 0);
        QCOMPARE(window->answers().answer(statement), ticked || reachesBox ? 2 : 1);
        QCOMPARE(window->currentStatement(), reachesBox ? statement : 60);
    }

    // The whole chain with the real results window: main window → manual entry → results,
    // "Сохранить", and the results window's close unwinding back to the main window.
    void completeSheetOpensTheResults() {
        m_dir->installProgramFolder();
        MainWindow mainWindow;
        mainWindow.show();

        bool resultsSeen = false;
        testing::step([&] { // in the manual entry window
            ManualEntryWindow* manual = testing::visibleWindow<ManualEntryWindow>();
            QVERIFY(manual);
            QCOMPARE(manual->parentWidget(), &mainWindow);
            QVERIFY(!mainWindow.isVisible());
            QVERIFY(manual->imageAt(1).hasPicture() && manual->imageAt(316).hasPicture());
            control<QLineEdit>(manual, "surnameEdit")->setText(QStringLiteral("Петрова"));
            control<QLineEdit>(manual, "firstNameEdit")->setText(QStringLiteral("Анна"));
            control<QLineEdit>(manual, "courseEdit")->setText(QStringLiteral("2"));
            control<QLineEdit>(manual, "groupEdit")->setText(QStringLiteral("ПС-21"));
            for (int s = 1; s < kStatements; ++s)
                clickBox(*manual, s, (s * 7) % 3);
            QTest::mouseClick(resultButton(manual), Qt::LeftButton);
            QVERIFY(incompleteWarning(manual)->isVisible());
            QVERIFY(!testing::visibleWindow<ResultsWindow>());

            clickBox(*manual, kStatements, 2);
            QCOMPARE(manual->answers().answer(kStatements), quint8(3));
            testing::step([&] { // in the results window
                ResultsWindow* results = testing::visibleWindow<ResultsWindow>();
                QVERIFY(results);
                QCOMPARE(results->parentWidget(), manual);
                QVERIFY(!manual->isVisible());
                QCOMPARE(control<QLabel>(results, "surnameValue")->text(),
                         QStringLiteral("Петрова"));
                QVERIFY(results->scored());
                QTest::mouseClick(control<QPushButton>(results, "saveButton"), Qt::LeftButton);
                QVERIFY(control<QLabel>(results, "savedLabel")->isVisible());
                resultsSeen = true;
                results->close();
            });
            QTest::mouseClick(resultButton(manual), Qt::LeftButton);
            // The warning, once shown, stays (the window itself is hidden by now).
            QVERIFY(!incompleteWarning(manual)->isHidden());
        });
        QTest::mouseClick(manualEntryButton(mainWindow), Qt::LeftButton);
        QCoreApplication::processEvents();

        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(resultsSeen);
        QVERIFY(mainWindow.findChildren<ui::ChainWindow*>().isEmpty()); // all destroyed
        QVERIFY(mainWindow.isVisible());
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList());

        const QString file = scoring::resultFileName(QDate::currentDate());
        QCOMPARE(scoring::recordCount(file), 1);
        const scoring::ResultRecord record = scoring::readRecord(file, 0);
        QCOMPARE(record.manualEntry, quint8(scoring::EntryMode::Manual));
        QCOMPARE(record.surname, QStringLiteral("Петрова"));
        QCOMPARE(record.group, QStringLiteral("ПС-21"));
    }

    // Closed by its frame before "результат": back to the main window.
    void closingByFrameReturnsToTheMainWindow() {
        MainWindow mainWindow;
        mainWindow.show();
        bool closed = false;
        testing::step([&] {
            ManualEntryWindow* manual = testing::visibleWindow<ManualEntryWindow>();
            QVERIFY(manual);
            clickBox(*manual, 3, 1);
            QCOMPARE(manual->answers().answer(3), quint8(2));
            closed = true;
            testing::closeByFrame(manual);
        });
        manualEntryButton(mainWindow)->click();
        QVERIFY(closed);
        QVERIFY(mainWindow.findChildren<ui::ChainWindow*>().isEmpty());
        QVERIFY(mainWindow.isVisible());
    }

    void pictures_data() {
        QTest::addColumn<int>("boxSize");  // 0: the file is missing, -1: not a bitmap
        QTest::addColumn<int>("tickSize"); // 0: the file is missing
        QTest::addColumn<bool>("boxesHave");
        QTest::addColumn<bool>("ticksHave");
        QTest::addColumn<QString>("message");
        QTest::newRow("both there") << 25 << 17 << true << true << QString();
        QTest::newRow("no sq.bmp") << 0 << 17 << false << false
                                   << QStringLiteral("Cannot open file \"data/sq.bmp\". "
                                                     "No such file or directory");
        QTest::newRow("no check_icon.ico") << 25 << 0 << true << false
                                           << QStringLiteral("Cannot open file "
                                                             "\"data/check_icon.ico\". No such "
                                                             "file or directory");
        QTest::newRow("neither") << 0 << 0 << false << false
                                 << QStringLiteral("Cannot open file \"data/sq.bmp\". "
                                                   "No such file or directory");
        QTest::newRow("broken sq.bmp")
            << -1 << 17 << false << false << QStringLiteral("Bitmap image is not valid");
    }
    void pictures() {
        QFETCH(int, boxSize);
        QFETCH(int, tickSize);
        QFETCH(bool, boxesHave);
        QFETCH(bool, ticksHave);
        QFETCH(QString, message);
        writePictures(*m_dir, boxSize, Qt::white, tickSize, Qt::black);
        if (boxSize < 0)
            m_dir->writeFile(QStringLiteral("Data/sq.bmp"), QByteArray("not a bitmap"));
        const auto window = openedWindow();
        QCOMPARE(ui::MessageBox::takeRecorded(),
                 message.isEmpty() ? QStringList() : QStringList{message});
        const qint64 boxKey = window->imageAt(1).picture.cacheKey();
        const qint64 tickKey = window->imageAt(316).picture.cacheKey();
        for (int n = 1; n <= ManualEntryWindow::kBoxes; ++n) {
            QCOMPARE(window->imageAt(n).hasPicture(), boxesHave);
            QCOMPARE(window->imageAt(ManualEntryWindow::kBoxes + n).hasPicture(), ticksHave);
            // One picture each, shared by all its elements.
            QCOMPARE(window->imageAt(n).picture.cacheKey(), boxKey);
            QCOMPARE(window->imageAt(ManualEntryWindow::kBoxes + n).picture.cacheKey(), tickKey);
        }
        // The grid works all the same.
        clickBox(*window, 40, 1);
        clickBox(*window, 40, 2);
        QCOMPARE(window->answers().answer(40), quint8(3));
        QCOMPARE(tickedAnswers(*window)[39], 3);
    }

    // A picture is decoded once and shared; a file changed or removed meanwhile is read again.
    void picturesFollowTheirFiles() {
        const auto load = [] {
            return graphics::loadPicture(QStringLiteral("data\\sq.bmp"), "BMP",
                                         QStringLiteral("Bitmap image is not valid"));
        };
        writePictures(*m_dir, 25, Qt::white, 0, Qt::black);
        QCOMPARE(load().cacheKey(), load().cacheKey());
        writePictures(*m_dir, 30, Qt::red, 0, Qt::black);
        QCOMPARE(load().size(), QSize(30, 30));
        QCOMPARE(load().pixelColor(0, 0), QColor(Qt::red));
        m_dir->writeFile(QStringLiteral("Data/sq.bmp"), QByteArray("not a bitmap"));
        QVERIFY_THROWS_EXCEPTION(platform::Error, load());
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Data/sq.bmp"))));
        QVERIFY_THROWS_EXCEPTION(platform::Error, load());
    }

    // Pictures stand at natural size from the element's corner, clipped to the element.
    void picturesAtNaturalSizeClipped() {
        writePictures(*m_dir, 30, Qt::red, 8, Qt::blue);
        const auto window = openedWindow();
        clickBox(*window, 105, 2); // the lowest, rightmost box: nothing overlaps its edges
        const QImage grid = window->grid()->grab().toImage();
        const QRect box = window->box(105, 2).geometry;
        QCOMPARE(grid.pixelColor(box.bottomRight()), QColor(Qt::red));
        QVERIFY(grid.pixelColor(box.bottomRight() + QPoint(1, 0)) != QColor(Qt::red));
        QVERIFY(grid.pixelColor(box.bottomRight() + QPoint(0, 1)) != QColor(Qt::red));
        QCOMPARE(grid.pixelColor(box.topLeft() + QPoint(7, 7)), QColor(Qt::blue));
        QCOMPARE(grid.pixelColor(box.topLeft() + QPoint(8, 8)), QColor(Qt::red)); // not stretched
    }

    // The answer keys act only while the grid has the focus: Escape or a click on the grid gives
    // it the keys, a click also making its statement the current one; the fields keep theirs.
    // The current row is highlighted from the moment keyboard entry begins, and "результат"
    // with statements missing shows the first of them as the current row.
    void keyboardEntry_data() {
        QTest::addColumn<QList<int>>("clicked"); // statements answered a by the click handler
        QTest::addColumn<QString>("focus");      // a control given the focus, "grid", "ESC" typed,
                                                 // "click <n>" on box a of statement n, or none
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("result");     // "результат" pressed last
        QTest::addColumn<QString>("answers"); // of statements 1, 2, ... (the rest stay 0)
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("highlighted");
        const QList<int> none;
        QTest::newRow("digits") << none << "ESC"
                                << "1 2 3" << false << "123" << 4 << true;
        QTest::newRow("latin letters") << none << "ESC"
                                       << "a B c" << false << "123" << 4 << true;
        QTest::newRow("cyrillic letters") << none << "ESC"
                                          << "а б В" << false << "123" << 4 << true;
        QTest::newRow("russian layout") << none << "ESC"
                                        << "ф и С" << false << "123" << 4 << true;
        QTest::newRow("backspace corrects") << none << "ESC"
                                            << "1 2 BS 3" << false << "13" << 3 << true;
        QTest::newRow("arrows skip and return")
            << none << "ESC"
            << "R R 2 U U 1 D 3" << false << "0123" << 5 << true;
        QTest::newRow("back stops at 1") << none << "ESC"
                                         << "L BS U 2" << false << "2" << 2 << true;
        QTest::newRow("other keys do nothing") << none << "ESC"
                                               << "4 d x 0" << false << "" << 1 << true;
        QTest::newRow("a click gives the grid the keys")
            << none << "click 30"
            << "2 3" << false << QString(29, u'0') + "23" << 32 << true;
        QTest::newRow("the last statement answered, stays current")
            << none << "click 105"
            << "3" << false << QString(104, u'0') + "3" << 105 << true;
        QTest::newRow("opened: no highlight") << none << ""
                                              << "" << false << "" << 1 << false;
        QTest::newRow("surname field keeps the keys") << none << "surnameEdit"
                                                      << "1 a" << false << "" << 1 << false;
        QTest::newRow("course field keeps the keys") << none << "courseEdit"
                                                     << "2 BS 3 a" << false << "" << 1 << false;
        QTest::newRow("result button leaves them unanswered")
            << none << "resultButton"
            << "1 б ф D BS" << false << "" << 1 << false;
        QTest::newRow("grid takes them") << none << "grid"
                                         << "2 3" << false << "23" << 3 << true;
        QTest::newRow("grid given the focus shows row 1") << none << "grid"
                                                          << "" << false << "" << 1 << true;
        QTest::newRow("incomplete: the gap after clicks") << QList<int>{1, 2, 4} << ""
                                                          << "" << true << "1101" << 3 << true;
        QTest::newRow("incomplete: back to the gap left by the keys")
            << none << "grid"
            << "1 2 R 3" << true << "1203" << 3 << true;
        QTest::newRow("incomplete: nothing answered") << none << ""
                                                      << "" << true << "" << 1 << true;
        QList<int> allBut52;
        QList<int> allBut105;
        for (int s = 1; s <= kStatements; ++s) {
            if (s != 52)
                allBut52 << s;
            if (s != 105)
                allBut105 << s;
        }
        QTest::newRow("incomplete: 52 missing")
            << allBut52 << ""
            << "" << true << QString(51, u'1') + u'0' + QString(53, u'1') << 52 << true;
        QTest::newRow("incomplete: 105 missing") << allBut105 << ""
                                                 << "" << true << QString(104, u'1') << 105 << true;
    }
    void keyboardEntry() {
        QFETCH(QList<int>, clicked);
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(bool, result);
        QFETCH(QString, answers);
        QFETCH(int, current);
        QFETCH(bool, highlighted);
        const auto window = openedWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const int statement : clicked)
            window->chooseBox(boxNumber(statement, 0));
        if (focus == u"grid")
            window->grid()->setFocus(Qt::MouseFocusReason);
        else if (focus == u"ESC")
            typeKeys(focus);
        else if (focus.startsWith(u"click "))
            clickBox(*window, focus.mid(6).toInt(), 0);
        else if (!focus.isEmpty())
            control<QWidget>(window.get(), qPrintable(focus))->setFocus(Qt::TabFocusReason);
        if (focus == u"ESC" || focus.startsWith(u"click "))
            QCOMPARE(QApplication::focusWidget(), window->grid());
        typeKeys(keys);
        if (result) {
            NothingOpens guard;
            QTest::mouseClick(resultButton(window.get()), Qt::LeftButton);
            QVERIFY(!guard.opened);
        }
        QList<int> expected(kStatements, 0);
        for (int i = 0; i < answers.size(); ++i)
            expected[i] = answers[i].digitValue();
        QCOMPARE(sheetAnswers(*window), expected);
        QCOMPARE(tickedAnswers(*window), expected);
        QCOMPARE(window->currentStatement(), current);
        QCOMPARE(rowHighlighted(*window, current), highlighted);
        QCOMPARE(incompleteWarning(window.get())->isVisible(), result);
    }

    // A whole sheet typed in with the keyboard alone equals the same sheet clicked in.
    void typedSheetEqualsClickedSheet() {
        QRandomGenerator random(20240611);
        QList<int> sheet;
        for (int s = 1; s <= kStatements; ++s)
            sheet << int(random.bounded(1, 4));
        const QStringList keysOf[3] = {
            {"1", "a", "а", "ф"}, {"2", "b", "б", "и"}, {"3", "c", "в", "с"}};

        QList<int> clicked;
        QList<int> clickedTicks;
        {
            const auto window = openedWindow();
            for (int s = 1; s <= kStatements; ++s)
                clickBox(*window, s, sheet[s - 1] - 1);
            clicked = sheetAnswers(*window);
            clickedTicks = tickedAnswers(*window);
        }
        const auto window = openedWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(sheetAnswers(*window), QList<int>(kStatements, 0));
        typeKeys(QStringLiteral("ESC"));
        // A slip on statement 10, taken back with Backspace and typed again.
        for (int s = 1; s <= kStatements; ++s) {
            const int answer = sheet[s - 1];
            if (s == 10)
                typeKeys(keysOf[answer % 3][0] + QStringLiteral(" BS"));
            typeKeys(keysOf[answer - 1][s % 4]);
        }
        QCOMPARE(clicked, sheet);
        QCOMPARE(sheetAnswers(*window), clicked);
        QCOMPARE(tickedAnswers(*window), clickedTicks);
    }

private:
    std::unique_ptr<testing::TempWorkDir> m_dir;
};

QTEST_MAIN(TestManualEntry)
#include "test_manual_entry.moc"
