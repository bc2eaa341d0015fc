// The comparison and group charts: what each draws and lists from the archive's places, and
// what both share: the export, a background that cannot be read, opening over the archive and
// closing.

#include "archive/archive_window.h"
#include "archive/selection.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "graphics/chart_drawing.h"
#include "platform/dates.h"
#include "scoring/record_line.h"
#include "scoring/result_file.h"
#include "tests/support/chart_support.h"
#include "tests/support/record_builder.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
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

const QColor kPlaceColours[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 128, 0),
                                QColor(128, 0, 0), QColor(0, 0, 0)};
const QColor& colourOf(int place) {
    return kPlaceColours[place - 1];
}
const QColor kGroupCurve(255, 0, 0);

// Subject `number` of a test, all stens `sten`, dated in March 2007.
scoring::ResultRecord subject(int number, quint8 sten, quint8 manualEntry = 0) {
    return testing::Record()
        .surname(QStringLiteral("Фамилия%1").arg(number))
        .firstName(QStringLiteral("Имя%1").arg(number))
        .course(QString::number(1 + number % 5))
        .group(QStringLiteral("2%1").arg(number % 10))
        .stens(sten)
        .day(QDate(2007, 3, 5 + number % 20))
        .manualEntry(manualEntry);
}

QString listLineOf(const scoring::ResultRecord& record) {
    return scoring::recordLine(record, scoring::CourseStyle::Named);
}

// A place that names a record its file does not have.
void chooseUnreadable(int place) {
    archive::selection().place(place) =
        scoring::RecordRef{QDir::current().absoluteFilePath(QStringLiteral("result/gone.res")), 0};
}

std::unique_ptr<ComparisonChartWindow> comparisonChart() {
    auto window =
        std::make_unique<ComparisonChartWindow>(nullptr, archive::selection().comparisonPlaces());
    window->create();
    return window;
}

std::unique_ptr<GroupChartWindow> groupChart() {
    auto window = std::make_unique<GroupChartWindow>(nullptr, archive::selection().groupPlaces());
    window->create();
    return window;
}

// The two charts as the tests they share see them: "comparison" or "group".
bool isGroup(const QString& kind) {
    return kind == u"group";
}

// Puts a subject into the first place of the chart's set.
void chooseOne(const QString& kind, const scoring::ResultRecord& record) {
    choose(isGroup(kind) ? 6 : 1, QStringLiteral("a.res"), record);
}

std::unique_ptr<charts::ChartWindow> chartOf(const QString& kind) {
    if (isGroup(kind))
        return groupChart();
    return comparisonChart();
}

QPlainTextEdit* listOf(const QWidget* window) {
    return testing::child<QPlainTextEdit>(window, "groupList");
}

// The pixels of a colour within 4 of a point: a marker and the line through it.
int markerPixels(const QImage& picture, QPoint point, const QColor& colour) {
    return countColour(picture, colour, QRect(point - QPoint(4, 4), QSize(9, 9)));
}

using LineEdits = QMap<int, QString>; // list line (from 0) -> its new text

} // namespace

class TestChartWindows : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        archive::resetSelection();
    }

    // Comparison: place p holds a subject whose stens are all stens[i]; lineColour[i] is the
    // place whose colour the line of that subject shows, hidden lines shown by the place drawn
    // on top.
    void curvesInPlaceColours_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<int>>("stens");
        QTest::addColumn<QList<int>>("lineColour");
        QTest::newRow("only place 3") << QList<int>{3} << QList<int>{4} << QList<int>{3};
        QTest::newRow("all five, one apart")
            << QList<int>{1, 2, 3, 4, 5} << QList<int>{1, 3, 5, 7, 10} << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("same subject five times")
            << QList<int>{1, 2, 3, 4, 5} << QList<int>{6, 6, 6, 6, 6} << QList<int>{5, 5, 5, 5, 5};
        QTest::newRow("higher place on top")
            << QList<int>{2, 4} << QList<int>{9, 9} << QList<int>{4, 4};
    }
    void curvesInPlaceColours() {
        QFETCH(QList<int>, places);
        QFETCH(QList<int>, stens);
        QFETCH(QList<int>, lineColour);
        testing::TempWorkDir work;
        work.installProgramFolder();
        // Every other subject comes from a second result file: each place is read from its own.
        for (int i = 0; i < places.size(); ++i)
            choose(places[i], i % 2 ? QStringLiteral("b.res") : QStringLiteral("a.res"),
                   subject(i, quint8(stens[i])));

        const auto window = comparisonChart();
        const QImage& picture = window->picture();
        QCOMPARE(picture.size(), QSize(505, 505));
        for (int i = 0; i < places.size(); ++i)
            QCOMPARE(lineColourAt(picture, stens[i]), colourOf(lineColour[i]));
        QList<int> seen, expected; // places whose colour shows anywhere on the chart
        for (int place = 1; place <= 4; ++place) { // black is also the frame's text
            if (countColour(picture, colourOf(place)) > 0)
                seen << place;
            if (lineColour.contains(place))
                expected << place;
        }
        QCOMPARE(seen, expected);
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    // Comparison: the pen of the markers carries over from curve to curve, whatever the places:
    // the first curve drawn has the markers of a curve drawn alone, every later one those of a
    // curve drawn a second time.
    void markerPenCarriesOver_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<int>>("thickPlaces");
        QTest::newRow("places 2 and 4") << QList<int>{2, 4} << QList<int>{4};
        QTest::newRow("place 4 alone") << QList<int>{4} << QList<int>{};
        QTest::newRow("places 1, 3 and 4") << QList<int>{1, 3, 4} << QList<int>{3, 4};
    }
    void markerPenCarriesOver() {
        QFETCH(QList<int>, places);
        QFETCH(QList<int>, thickPlaces);
        testing::TempWorkDir work;
        work.installProgramFolder();
        for (int place : places)
            choose(place, QStringLiteral("a.res"), subject(place, quint8(2 * place)));

        const auto window = comparisonChart();
        for (int place : places) {
            std::array<quint8, 17> profile;
            profile.fill(quint8(2 * place));
            const QPoint point(chart::stenX(2 * place), chart::rowY(5));
            QImage alone = chart::loadBackground();
            chart::drawFrame(alone);
            QImage twice = alone;
            chart::Plotter(alone).plot(profile, colourOf(place));
            chart::Plotter plotter(twice);
            plotter.plot(profile, colourOf(place));
            plotter.plot(profile, colourOf(place));
            const QImage& expected = thickPlaces.contains(place) ? twice : alone;
            QCOMPARE(markerPixels(window->picture(), point, colourOf(place)),
                     markerPixels(expected, point, colourOf(place)));
        }
    }

    void legendBoxes_data() {
        QTest::addColumn<int>("manualEntry");
        QTest::addColumn<QString>("mode");
        QTest::newRow("test taken") << 0 << "тест пройден";
        QTest::newRow("typed in") << 1 << "результаты введены вручную";
        QTest::newRow("other value") << 7 << "";
    }
    void legendBoxes() {
        QFETCH(int, manualEntry);
        QFETCH(QString, mode);
        testing::TempWorkDir work;
        work.installProgramFolder();
        scoring::ResultRecord record = subject(0, 5, quint8(manualEntry));
        record.surname = QStringLiteral("Петрова");
        record.firstName = QStringLiteral("Анна");
        record.course = QStringLiteral("2");
        record.group = QStringLiteral("21");
        choose(2, QStringLiteral("a.res"), record);

        const auto window = comparisonChart();
        const QStringList box = {"05.03.2007", "Петрова Анна", "2 -курс, 21 -группа", mode, ""};
        const QStringList empty(5, QString());
        for (int place = 1; place <= 5; ++place)
            QCOMPARE(memoLines(window->legendBox(place)), place == 2 ? box : empty);
        QCOMPARE(window->legendBox(2)->palette().color(QPalette::Text), colourOf(2));
        QVERIFY(window->legendBox(2)->isReadOnly());
        // The exported legend: every place's colour word, then the first four lines of its box.
        const QStringList words = {"Красный", "Синий", "Зеленый", "Малиновый", "Черный"};
        QStringList legend;
        for (int place = 1; place <= 5; ++place)
            legend << words[place - 1] << (place == 2 ? box : empty).mid(0, 4);
        QCOMPARE(window->legendLines(), legend);
    }

    // Comparison: a place whose record cannot be read gets neither a curve (not the previous
    // place's values, nor zeros left of the grid) nor a legend; the others are drawn as usual.
    void unreadablePlaceIsSkipped_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("file gone") << "file";
        QTest::newRow("record beyond the end") << "record";
    }
    void unreadablePlaceIsSkipped() {
        QFETCH(QString, how);
        testing::TempWorkDir work;
        work.installProgramFolder();
        choose(1, QStringLiteral("a.res"), subject(1, 3));
        choose(2, QStringLiteral("a.res"), subject(2, 6));
        choose(3, QStringLiteral("a.res"), subject(3, 9));
        if (how == u"file")
            archive::selection().place(2).fileName =
                work.filePath(QStringLiteral("result/gone.res"));
        else
            archive::selection().place(2).recordIndex = 3;

        const auto window = comparisonChart();
        const QImage& picture = window->picture();
        QCOMPARE(countColour(picture, colourOf(2)), 0);
        QCOMPARE(lineColourAt(picture, 3), colourOf(1));
        QCOMPARE(lineColourAt(picture, 9), colourOf(3));
        QVERIFY(lineColourAt(picture, 6) != colourOf(1));
        QCOMPARE(memoLines(window->legendBox(2)), QStringList(5, QString()));
        QCOMPARE(memoLines(window->legendBox(3)).value(1), QStringLiteral("Фамилия3 Имя3"));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    // Group: the curve of the group's mean where the places are read (the arithmetic of the
    // mean is checked with the core rules). Subject i fills place 6 + i with all stens
    // stens[i]; 0 stands for a place whose record cannot be read. mean -1: no curve at all.
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

        const auto window = groupChart();
        const QImage& picture = window->picture();
        QCOMPARE(picture.size(), QSize(505, 505));
        for (int other = 0; other <= 10; ++other)
            QCOMPARE(lineColourAt(picture, other) == kGroupCurve, other == mean);
        if (mean < 0)
            QCOMPARE(countColour(picture, kGroupCurve), 0);
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void groupCurveFollowsTheScales() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        scoring::ResultRecord record = subject(1, 1);
        for (int k = 0; k < scoring::kScales; ++k)
            record.scales[std::size_t(k)] = quint8(1 + (k * 3) % 10);
        choose(20, QStringLiteral("a.res"), record);

        const auto window = groupChart();
        for (int k = 1; k <= scoring::kScales; ++k) {
            const int sten = record.scales[std::size_t(k - 1)];
            QCOMPARE(window->picture().pixelColor(chart::stenX(sten), chart::rowY(k)), kGroupCurve);
        }
    }

    // Group: subject i fills place places[i]; readable[i] false makes its record unreadable.
    void groupList_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<bool>>("readable");
        QTest::newRow("places 6, 9 and 35")
            << QList<int>{6, 9, 35} << QList<bool>{true, true, true};
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

        const auto window = groupChart();
        QCOMPARE(memoLines(listOf(window.get())), expected);
        QVERIFY(!listOf(window.get())->isReadOnly());
    }

    // Group: the list of a group of three, edited by the user before the export: `edits` maps
    // list lines (from 0) to their new text; the legend takes the first line and every next
    // line up to the first empty one.
    void groupLegendTakesTheListAsEdited_data() {
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
    void groupLegendTakesTheListAsEdited() {
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
        const auto window = groupChart();
        QStringList lines = memoLines(listOf(window.get()));
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            lines[it.key()] = it.value();
        listOf(window.get())->setPlainText(lines.join(u'\n'));

        QStringList expected;
        for (int line : exported)
            expected << (line >= 0    ? listed[line]
                         : line == -1 ? QStringLiteral("дописано")
                                      : QString());
        QCOMPARE(window->legendLines(), expected);
    }

    // Both charts: the export button saves the chart as drawn and its legend under the chart's
    // heading, and says where; a legend that cannot be written is said instead.
    void exportSavesAndSaysWhere_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("legendBlocked");
        QTest::addColumn<QString>("bitmap");
        QTest::addColumn<QString>("heading");
        QTest::newRow("comparison") << "comparison" << false << "saved_img/SR_1.bmp"
                                    << "Сравнение графиков :";
        QTest::newRow("group") << "group" << false << "saved_img/gr_1.bmp"
                               << "Список группы:";
        QTest::newRow("comparison, legend blocked") << "comparison" << true << "saved_img/SR_1.bmp"
                                                    << "";
        QTest::newRow("group, legend blocked") << "group" << true << "saved_img/gr_1.bmp"
                                               << "";
    }
    void exportSavesAndSaysWhere() {
        QFETCH(QString, kind);
        QFETCH(bool, legendBlocked);
        QFETCH(QString, bitmap);
        QFETCH(QString, heading);
        testing::TempWorkDir work;
        work.installProgramFolder();
        const QString legend = bitmap.chopped(4) + QStringLiteral(".txt");
        if (legendBlocked)
            work.makeFolder(legend);
        chooseOne(kind, subject(1, 4, 1));
        const auto window = chartOf(kind);

        QTest::mouseClick(testing::child<QPushButton>(window.get(), "exportButton"),
                          Qt::LeftButton);

        QImage saved;
        QVERIFY(saved.loadFromData(work.readFile(bitmap), "BMP"));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), window->picture());
        const auto* status = testing::child<QLabel>(window.get(), "exportStatusLabel");
        const auto* path = testing::child<QLabel>(window.get(), "exportPathLabel");
        if (legendBlocked) {
            QCOMPARE(status->text(), QStringLiteral("Невозможно сохранить файл"));
            QCOMPARE(path->text(), QString());
        } else {
            QCOMPARE(status->text(), QStringLiteral("График сохранён в:"));
            QCOMPARE(path->text(), QDir::toNativeSeparators(bitmap));
            QCOMPARE(work.readFile(legend),
                     cp1251Lines(QStringList{heading} + window->legendLines()));
        }
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    // Both charts: without a background the window opens all the same, its chart empty and
    // its boxes and list as they were made.
    void missingBackgroundLeavesWindowEmpty_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("comparison") << "comparison";
        QTest::newRow("group") << "group";
    }
    void missingBackgroundLeavesWindowEmpty() {
        QFETCH(QString, kind);
        testing::TempWorkDir work;
        work.installProgramFolder();
        QVERIFY(QFile::remove(work.filePath(QStringLiteral("Data/graph.bmp"))));
        chooseOne(kind, subject(1, 4));

        const auto window = chartOf(kind);
        const QStringList shown = ui::MessageBox::takeRecorded();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("Cannot open file \"")),
                 qPrintable(shown.first()));
        QVERIFY(window->picture().isNull());
        const QList<QPlainTextEdit*> boxes = window->findChildren<QPlainTextEdit*>();
        QCOMPARE(boxes.size(), isGroup(kind) ? 1 : 5);
        for (const QPlainTextEdit* box : boxes)
            QVERIFY(memoLines(box).join(QString()).isEmpty());
    }

    // Both charts: opened from the archive over it; every button and box is reached by the
    // keyboard; without a printer "Распечатать" says so on its caption, again at every press;
    // "Выход" ends the window, and so does Escape, except in the group's list, where it would
    // drop what was typed.
    void opensOverTheArchiveAndCloses_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("staysOpen");
        for (const char* kind : {"comparison", "group"}) {
            QTest::addRow("%s, Выход", kind) << kind << "exit" << false;
            QTest::addRow("%s, Escape", kind) << kind << "escape" << false;
        }
        QTest::newRow("group, Escape while editing the list") << "group"
                                                              << "escape in list" << true;
    }
    void opensOverTheArchiveAndCloses() {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        QFETCH(bool, staysOpen);
        testing::TempWorkDir work;
        work.installProgramFolder();
        chooseOne(kind, subject(1, 4));
        const int place = isGroup(kind) ? 6 : 1;
        ArchiveWindow archive(nullptr);
        testing::showArchiveAtFileOf(archive, place);
        // The archive's label of the place now shows the subject.
        testing::child<QPushButton>(&archive,
                                    isGroup(kind) ? "toGroupButton" : "toComparisonButton")
            ->click();
        bool seen = false;
        bool leftOpen = false;
        testing::later([&] {
            // Ends the showing even when a check fails half way.
            auto closing = qScopeGuard([] {
                if (auto* window = testing::visibleWindow<charts::ChartWindow>())
                    window->close();
            });
            auto* window = testing::visibleWindow<charts::ChartWindow>();
            QVERIFY(window);
            QCOMPARE(window->parentWidget(), &archive);
            QCOMPARE(window->windowTitle(),
                     isGroup(kind) ? QStringLiteral("Общий график") : QStringLiteral("Сравнение"));
            QCOMPARE(window->size(), isGroup(kind) ? QSize(809, 505) : QSize(692, 506));
            auto* exitButton = testing::child<QPushButton>(window, "exitButton");
            auto* printButton = testing::child<QPushButton>(window, "printButton");
            const QList<QWidget*> reached = testing::tabOrder(exitButton);
            for (QWidget* control : window->findChildren<QWidget*>()) {
                if (qobject_cast<QPushButton*>(control) || qobject_cast<QPlainTextEdit*>(control))
                    QVERIFY2(reached.contains(control), qPrintable(control->objectName()));
            }
            for (int press = 0; press < 2; ++press) {
                QTest::mouseClick(printButton, Qt::LeftButton);
                QCOMPARE(printButton->text(), QStringLiteral("Не выходит:)"));
            }
            QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
            seen = true;
            closing.dismiss();
            if (how == u"escape in list") {
                QPlainTextEdit* list = listOf(window);
                list->setFocus();
                QTest::keyClicks(list, QStringLiteral("typed"));
                testing::closeChart(window, exitButton, true, &leftOpen);
                QVERIFY(list->toPlainText().contains(QStringLiteral("typed")));
            } else {
                testing::closeChart(window, exitButton, how == u"escape", &leftOpen);
            }
        });
        testing::child<QPushButton>(&archive,
                                    isGroup(kind) ? "groupChartButton" : "comparisonChartButton")
            ->click();
        QVERIFY(seen);
        QCOMPARE(leftOpen, staysOpen);
        QVERIFY(archive.findChildren<charts::ChartWindow*>().isEmpty()); // destroyed
        QVERIFY(archive.isVisible());
    }
};

QTEST_MAIN(TestChartWindows)
#include "test_chart_windows.moc"
