// The comparison chart: which curves are drawn in which colour, the pen of the markers, the
// legend boxes, the exported legend, and what the window does when something cannot be read.

#include "archive/archive_window.h"
#include "archive/selection.h"
#include "charts/comparison_chart_window.h"
#include "graphics/chart_geometry.h"
#include "platform/dates.h"
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
using testing::lineColourAt;
using testing::memoLines;

namespace {

const QColor kPlaceColours[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 128, 0),
                                QColor(128, 0, 0), QColor(0, 0, 0)};
const QColor& colourOf(int place) {
    return kPlaceColours[place - 1];
}

scoring::ResultRecord subject(const QString& surname, quint8 sten, quint8 manualEntry = 0) {
    scoring::ResultRecord record;
    record.surname = surname;
    record.firstName = QStringLiteral("Анна");
    record.course = QStringLiteral("2");
    record.group = QStringLiteral("21");
    record.scales.fill(sten);
    record.date = platform::dayCount(QDate(2007, 3, 5));
    record.manualEntry = manualEntry;
    return record;
}

const QStringList kEmptyBox(5, QString());

} // namespace

class TestComparisonChart : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        archive::resetSelection();
    }

    // Place p holds a subject whose stens are all stens[i]; lineColour[i] is the place whose
    // colour the line of that subject shows, hidden lines shown by the place drawn on top.
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
                   subject(QStringLiteral("Петрова"), quint8(stens[i])));

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        const QImage& picture = window.picture();
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

    // The pen of the markers carries over: the first curve's markers are drawn 1 pixel wide,
    // every later curve's 2 pixels, whatever the places.
    void markerPen_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<int>>("thickPlaces");
        QTest::newRow("places 2 and 4") << QList<int>{2, 4} << QList<int>{4};
        QTest::newRow("place 4 alone") << QList<int>{4} << QList<int>{};
        QTest::newRow("places 1, 3 and 5") << QList<int>{1, 3, 5} << QList<int>{3, 5};
    }
    void markerPen() {
        QFETCH(QList<int>, places);
        QFETCH(QList<int>, thickPlaces);
        testing::TempWorkDir work;
        work.installProgramFolder();
        for (int place : places)
            choose(place, QStringLiteral("a.res"),
                   subject(QStringLiteral("Петрова"), quint8(2 * place)));

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        const QImage& picture = window.picture();
        const int y = chart::rowY(5);
        for (int place : places) {
            const int x = chart::stenX(2 * place);
            const QColor& colour = colourOf(place);
            // The ring's edges lie off the line in any pen; the pixels just outside them are
            // reached only by the 2-pixel pen.
            QCOMPARE(picture.pixelColor(x + 2, y), colour);
            QCOMPARE(picture.pixelColor(x - 2, y), colour);
            const bool thick = thickPlaces.contains(place);
            QCOMPARE(picture.pixelColor(x + 3, y) == colour, thick);
            QCOMPARE(picture.pixelColor(x - 3, y) == colour, thick);
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
        choose(2, QStringLiteral("a.res"),
               subject(QStringLiteral("Петрова"), 5, quint8(manualEntry)));

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        QCOMPARE(memoLines(window.legendBox(2)),
                 (QStringList{"05.03.2007", "Петрова Анна", "2 -курс, 21 -группа", mode, ""}));
        for (QPlainTextEdit* box :
             {window.legendBox(1), window.legendBox(3), window.legendBox(4), window.legendBox(5)})
            QCOMPARE(memoLines(box), kEmptyBox);
        QCOMPARE(window.legendBox(2)->palette().color(QPalette::Text), colourOf(2));
        QVERIFY(window.legendBox(2)->isReadOnly());
    }

    // A place whose record cannot be read gets neither a curve (not the previous place's values,
    // nor zeros left of the grid) nor a legend; the other places are drawn as usual.
    void unreadablePlaceIsSkipped_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("file gone") << "file";
        QTest::newRow("record beyond the end") << "record";
    }
    void unreadablePlaceIsSkipped() {
        QFETCH(QString, how);
        testing::TempWorkDir work;
        work.installProgramFolder();
        choose(1, QStringLiteral("a.res"), subject(QStringLiteral("Первая"), 3));
        choose(2, QStringLiteral("a.res"), subject(QStringLiteral("Вторая"), 6));
        choose(3, QStringLiteral("a.res"), subject(QStringLiteral("Третья"), 9));
        if (how == u"file")
            archive::selection().place(2).fileName =
                work.filePath(QStringLiteral("result/gone.res"));
        else
            archive::selection().place(2).recordIndex = 3;

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        const QImage& picture = window.picture();
        QCOMPARE(countColour(picture, colourOf(2)), 0);
        QCOMPARE(lineColourAt(picture, 3), colourOf(1));
        QCOMPARE(lineColourAt(picture, 9), colourOf(3));
        QVERIFY(lineColourAt(picture, 6) != colourOf(1));
        QCOMPARE(memoLines(window.legendBox(2)), kEmptyBox);
        QCOMPARE(memoLines(window.legendBox(3)).value(1), QStringLiteral("Третья Анна"));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void exportWritesAllFiveBlocks() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        choose(3, QStringLiteral("a.res"), subject(QStringLiteral("Петрова"), 4, 1));

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        QTest::mouseClick(testing::child<QPushButton>(&window, "exportButton"), Qt::LeftButton);

        QCOMPARE(testing::child<QLabel>(&window, "exportStatusLabel")->text(),
                 QStringLiteral("График сохранён в:"));
        QCOMPARE(testing::child<QLabel>(&window, "exportPathLabel")->text(),
                 QDir::toNativeSeparators(QStringLiteral("saved_img/SR_1.bmp")));
        QImage saved;
        QVERIFY(saved.loadFromData(work.readFile(QStringLiteral("saved_img/SR_1.bmp")), "BMP"));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), window.picture());

        const QStringList expected = {"Сравнение графиков :",
                                      "Красный",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "Синий",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "Зеленый",
                                      "05.03.2007",
                                      "Петрова Анна",
                                      "2 -курс, 21 -группа",
                                      "результаты введены вручную",
                                      "Малиновый",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "Черный",
                                      "",
                                      "",
                                      "",
                                      ""};
        QCOMPARE(expected.size(), 26);
        QCOMPARE(work.readFile(QStringLiteral("saved_img/SR_1.txt")),
                 testing::cp1251Lines(expected));
    }

    void missingBackgroundLeavesWindowEmpty() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        QVERIFY(QFile::remove(work.filePath(QStringLiteral("Data/graph.bmp"))));
        choose(1, QStringLiteral("a.res"), subject(QStringLiteral("Петрова"), 4));

        ComparisonChartWindow window(nullptr, archive::selection().comparisonPlaces());
        window.create();
        const QStringList shown = ui::MessageBox::takeRecorded();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("Cannot open file \"")),
                 qPrintable(shown.first()));
        QVERIFY(window.picture().isNull());
        for (QPlainTextEdit* box : {window.legendBox(1), window.legendBox(2), window.legendBox(3),
                                    window.legendBox(4), window.legendBox(5)})
            QCOMPARE(memoLines(box), kEmptyBox);
    }

    // Opened from the archive over it; the keyboard goes through the controls in the window's
    // order; without a printer "Распечатать" says so on its caption, again at every press;
    // "Выход" ends the window, and so does Escape.
    void opensModallyAndCloses_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("closed by Выход") << false;
        QTest::newRow("closed by Escape") << true;
    }
    void opensModallyAndCloses() {
        QFETCH(bool, byEscape);
        testing::TempWorkDir work;
        work.installProgramFolder();
        choose(1, QStringLiteral("a.res"), subject(QStringLiteral("Петрова"), 4));
        ArchiveWindow archive(nullptr);
        testing::showArchiveAtFileOf(archive, 1);
        // The archive's label of place 1 now shows the subject.
        testing::child<QPushButton>(&archive, "toComparisonButton")->click();
        bool seen = false;
        bool leftOpen = false;
        testing::later([&] {
            // Ends the showing even when a check fails half way.
            auto closing = qScopeGuard(
                [] { ui::closeWindow(testing::visibleWindow<ComparisonChartWindow>()); });
            ComparisonChartWindow* window = testing::visibleWindow<ComparisonChartWindow>();
            QVERIFY(window);
            QCOMPARE(window->parentWidget(), &archive);
            QCOMPARE(window->windowTitle(), QStringLiteral("Сравнение"));
            QCOMPARE(window->size(), QSize(692, 506));
            auto* exitButton = testing::child<QPushButton>(window, "exitButton");
            auto* printButton = testing::child<QPushButton>(window, "printButton");
            QCOMPARE(testing::tabOrder(exitButton),
                     (QList<QWidget*>{exitButton, printButton, window->legendBox(1),
                                      window->legendBox(2), window->legendBox(3),
                                      window->legendBox(4), window->legendBox(5),
                                      testing::child<QPushButton>(window, "exportButton")}));
            for (int press = 0; press < 2; ++press) {
                QTest::mouseClick(printButton, Qt::LeftButton);
                QCOMPARE(printButton->text(), QStringLiteral("Не выходит:)"));
            }
            QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
            seen = true;
            closing.dismiss();
            testing::closeChart(window, exitButton, byEscape, &leftOpen);
        });
        testing::child<QPushButton>(&archive, "comparisonChartButton")->click();
        QVERIFY(seen);
        QVERIFY(!leftOpen);
        QVERIFY(archive.findChildren<ComparisonChartWindow*>().isEmpty()); // destroyed
        QVERIFY(archive.isVisible());
    }
};

QTEST_MAIN(TestComparisonChart)
#include "test_comparison_chart.moc"
