// The group chart: the mean profile of the group places, the group list, the exported legend
// as the user has edited the list, and what the window does when something cannot be read.

#include "archive/archive_window.h"
#include "archive/selection.h"
#include "charts/group_chart_window.h"
#include "graphics/chart_geometry.h"
#include "platform/dates.h"
#include "scoring/record_line.h"
#include "scoring/result_file.h"
#include "tests/support/chart_support.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <memory>

using testing::choose;
using testing::countColour;
using testing::cp1251Lines;
using testing::lineColourAt;
using testing::memoLines;

namespace {

const QColor kCurve(255, 0, 0);

scoring::ResultRecord subject(int number, quint8 sten) {
    scoring::ResultRecord record;
    record.surname = QStringLiteral("Фамилия%1").arg(number);
    record.firstName = QStringLiteral("Имя%1").arg(number);
    record.course = QString::number(1 + number % 5);
    record.group = QStringLiteral("2%1").arg(number % 10);
    record.scales.fill(sten);
    record.date = platform::dayCount(QDate(2007, 3, 1 + number % 28));
    return record;
}

QString listLineOf(const scoring::ResultRecord& record) {
    return scoring::recordLine(record, scoring::CourseStyle::Named);
}

QPlainTextEdit* listBox(const GroupChartWindow& window) {
    return testing::child<QPlainTextEdit>(&window, "groupList");
}

// A place that names a record its file does not have.
void chooseUnreadable(int place) {
    archive::selection().place(place) =
        scoring::RecordRef{QDir::current().absoluteFilePath(QStringLiteral("result/gone.res")), 0};
}

// The curve of a profile whose values are all equal is a vertical line at that value's column.
bool curveAt(const QImage& picture, int value) {
    return lineColourAt(picture, value) == kCurve;
}

using LineEdits = QMap<int, QString>; // list line (from 0) -> its new text

} // namespace

class TestGroupChart : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        archive::resetSelection();
    }

    // The curve of the group's mean where the places are read (the arithmetic of the mean is
    // checked with the core rules). Subject i fills place 6 + i with all stens stens[i]; 0
    // stands for a place whose record cannot be read. mean -1: no curve at all.
    void meanOfTheGroup_data() {
        QTest::addColumn<QList<int>>("stens");
        QTest::addColumn<bool>("twoFiles");
        QTest::addColumn<int>("mean");
        QTest::newRow("one subject") << QList<int>{7} << false << 7;
        QTest::newRow("from two files") << QList<int>{2, 4, 6, 8} << true << 5;
        QTest::newRow("unreadable place left out") << QList<int>{4, 0, 6} << false << 5;
        QTest::newRow("nothing readable") << QList<int>{0, 0} << false << -1;
    }
    void meanOfTheGroup() {
        QFETCH(QList<int>, stens);
        QFETCH(bool, twoFiles);
        QFETCH(int, mean);
        testing::TempWorkDir work;
        work.installProgramFolder();
        for (int i = 0; i < stens.size(); ++i) {
            const QString file =
                twoFiles && i % 2 ? QStringLiteral("b.res") : QStringLiteral("a.res");
            if (stens[i] == 0)
                chooseUnreadable(6 + i);
            else
                choose(6 + i, file, subject(i, quint8(stens[i])));
        }

        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        const QImage& picture = window.picture();
        QCOMPARE(picture.size(), QSize(505, 505));
        if (mean < 0) {
            QCOMPARE(countColour(picture, kCurve), 0);
        } else {
            QVERIFY(curveAt(picture, mean));
            for (int other = 0; other <= 10; ++other)
                QCOMPARE(curveAt(picture, other), other == mean);
        }
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void curveFollowsTheScales() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        scoring::ResultRecord record = subject(1, 1);
        for (int k = 0; k < scoring::kScales; ++k)
            record.scales[std::size_t(k)] = quint8(1 + (k * 3) % 10);
        choose(20, QStringLiteral("a.res"), record);

        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        for (int k = 1; k <= scoring::kScales; ++k) {
            const int sten = record.scales[std::size_t(k - 1)];
            QCOMPARE(window.picture().pixelColor(chart::stenX(sten), chart::rowY(k)), kCurve);
        }
    }

    // Subject i fills place places[i]; readable[i] false makes its record unreadable.
    void groupList_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<bool>>("readable");
        QTest::newRow("places 6, 9 and 35")
            << QList<int>{6, 9, 35} << QList<bool>{true, true, true};
        QTest::newRow("one subject") << QList<int>{17} << QList<bool>{true};
        QTest::newRow("unreadable leaves no gap")
            << QList<int>{6, 7, 8} << QList<bool>{true, false, true};
        QTest::newRow("all thirty") << [] {
            QList<int> all;
            for (int place = 6; place <= 35; ++place)
                all << place;
            return all;
        }() << QList<bool>(30, true);
    }
    void groupList() {
        QFETCH(QList<int>, places);
        QFETCH(QList<bool>, readable);
        testing::TempWorkDir work;
        work.installProgramFolder();
        QStringList expected(33, QString());
        int line = 0;
        for (int i = 0; i < places.size(); ++i) {
            if (!readable[i]) {
                chooseUnreadable(places[i]);
                continue;
            }
            const scoring::ResultRecord record = subject(i, 5);
            choose(places[i], QStringLiteral("a.res"), record);
            expected[line++] = listLineOf(record);
        }

        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        QCOMPARE(memoLines(listBox(window)), expected);
        QVERIFY(!listBox(window)->isReadOnly());
    }

    // The list of a group of three, edited by the user before the export: `edits` maps list
    // lines (from 0) to their new text; the legend takes the first line and every next line up
    // to the first empty one.
    void exportTakesTheListAsEdited_data() {
        QTest::addColumn<LineEdits>("edits");
        QTest::addColumn<QList<int>>("exported"); // list lines in the legend; -1: typed line
        QTest::newRow("as listed") << LineEdits{} << QList<int>{0, 1, 2};
        QTest::newRow("line typed under them")
            << LineEdits{{3, "дописано"}} << QList<int>{0, 1, 2, -1};
        QTest::newRow("line typed after an empty line")
            << LineEdits{{4, "дописано"}} << QList<int>{0, 1, 2};
        QTest::newRow("second line emptied") << LineEdits{{1, ""}} << QList<int>{0};
        QTest::newRow("first line emptied") << LineEdits{{0, ""}} << QList<int>{-2, 1, 2};
    }
    void exportTakesTheListAsEdited() {
        QFETCH(LineEdits, edits);
        QFETCH(QList<int>, exported);
        testing::TempWorkDir work;
        work.installProgramFolder();
        QStringList listed;
        for (int i = 0; i < 3; ++i) {
            const scoring::ResultRecord record = subject(i, 4);
            choose(6 + i, QStringLiteral("a.res"), record);
            listed << listLineOf(record);
        }
        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        QStringList lines = memoLines(listBox(window));
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            lines[it.key()] = it.value();
        listBox(window)->setPlainText(lines.join(u'\n'));

        QTest::mouseClick(testing::child<QPushButton>(&window, "exportButton"), Qt::LeftButton);

        QStringList expected{QStringLiteral("Список группы:")};
        for (int line : exported)
            expected << (line >= 0    ? listed[line]
                         : line == -1 ? QStringLiteral("дописано")
                                      : QString());
        QCOMPARE(work.readFile(QStringLiteral("saved_img/gr_1.txt")), cp1251Lines(expected));
        QCOMPARE(testing::child<QLabel>(&window, "exportStatusLabel")->text(),
                 QStringLiteral("График сохранён в:"));
        QCOMPARE(testing::child<QLabel>(&window, "exportPathLabel")->text(),
                 QDir::toNativeSeparators(QStringLiteral("saved_img/gr_1.bmp")));
        QImage saved;
        QVERIFY(saved.loadFromData(work.readFile(QStringLiteral("saved_img/gr_1.bmp")), "BMP"));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), window.picture());
    }

    void missingBackgroundLeavesWindowEmpty() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        QVERIFY(QFile::remove(work.filePath(QStringLiteral("Data/graph.bmp"))));
        choose(6, QStringLiteral("a.res"), subject(1, 4));

        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        const QStringList shown = ui::MessageBox::takeRecorded();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("Cannot open file \"")),
                 qPrintable(shown.first()));
        QVERIFY(window.picture().isNull());
        QCOMPARE(memoLines(listBox(window)), QStringList(33, QString()));
    }

    // Opened from the archive over it; the keyboard goes through the controls in the window's
    // order; without a printer "Распечатать" says so on its caption; "Выход" ends the window,
    // and so does Escape.
    void opensModallyAndCloses_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("closed by Выход") << false;
        QTest::newRow("closed by Escape") << true;
    }
    void opensModallyAndCloses() {
        QFETCH(bool, byEscape);
        testing::TempWorkDir work;
        work.installProgramFolder();
        choose(6, QStringLiteral("a.res"), subject(1, 4));
        ArchiveWindow archive(nullptr);
        testing::showArchiveAtFileOf(archive, 6);
        // The archive's label of place 6 now shows the subject.
        testing::child<QPushButton>(&archive, "toGroupButton")->click();
        bool seen = false;
        bool leftOpen = false;
        testing::later([&] {
            // Ends the showing even when a check fails half way.
            auto closing =
                qScopeGuard([] { ui::closeWindow(testing::visibleWindow<GroupChartWindow>()); });
            GroupChartWindow* window = testing::visibleWindow<GroupChartWindow>();
            QVERIFY(window);
            QCOMPARE(window->parentWidget(), &archive);
            QCOMPARE(window->windowTitle(), QStringLiteral("Общий график"));
            QCOMPARE(window->size(), QSize(809, 505));
            QCOMPARE(testing::child<QLabel>(window, "listCaption")->text().at(0),
                     QChar(u'C')); // the Latin letter
            auto* printButton = testing::child<QPushButton>(window, "printButton");
            auto* exitButton = testing::child<QPushButton>(window, "exitButton");
            QCOMPARE(testing::tabOrder(printButton),
                     (QList<QWidget*>{printButton, exitButton, listBox(*window),
                                      testing::child<QPushButton>(window, "exportButton")}));
            QTest::mouseClick(printButton, Qt::LeftButton);
            QCOMPARE(printButton->text(), QStringLiteral("Не выходит:)"));
            QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
            seen = true;
            closing.dismiss();
            testing::closeChart(window, exitButton, byEscape, &leftOpen);
        });
        testing::child<QPushButton>(&archive, "groupChartButton")->click();
        QVERIFY(seen);
        QVERIFY(!leftOpen);
        QVERIFY(archive.findChildren<GroupChartWindow*>().isEmpty()); // destroyed
        QVERIFY(archive.isVisible());
    }
};

QTEST_MAIN(TestGroupChart)
#include "test_group_chart.moc"
