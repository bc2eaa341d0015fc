// The profile chart: the pixels the shared plotter and frame draw, the background picture's
// errors, the chart window's header, and printing.

#include "graphics/chart_drawing.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "results/profile_chart_window.h"
#include "results/results_window.h"
#include "tests/support/chart_support.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"
#include "ui/printing.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <cerrno>
#include <memory>

using Profile = std::array<quint8, 17>;
using testing::child;
using testing::countColour;

namespace {

QImage blankPicture(QColor colour = Qt::white) {
    QImage picture(chart::kPictureSize, chart::kPictureSize, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

Profile constantProfile(quint8 sten) {
    Profile profile;
    profile.fill(sten);
    return profile;
}

Profile zigzag() {
    Profile profile;
    for (std::size_t k = 0; k < profile.size(); ++k)
        profile[k] = k % 2 == 0 ? 1 : 10;
    return profile;
}

bool isColour(const QImage& picture, int x, int y, QColor colour) {
    return picture.pixelColor(x, y) == colour;
}

// Whether a pixel of the colour lies within one pixel of (x, y).
bool nearColour(const QImage& picture, double x, double y, QColor colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isColour(picture, int(x) + dx, int(y) + dy, colour))
                return true;
    return false;
}

// A chart window of a profile, its header's subject and date left empty.
std::unique_ptr<ProfileChartWindow> chartOf(const Profile& profile) {
    return std::make_unique<ProfileChartWindow>(nullptr, profile, scoring::Subject{}, QString(),
                                                scoring::EntryMode::Test);
}

// The header lines of a chart window: the subject's four, the date and the entry mode.
QStringList headerOf(const QWidget* window) {
    QStringList header;
    for (const char* name :
         {"surnameLabel", "firstNameLabel", "courseLabel", "groupLabel", "dateLabel", "modeLabel"})
        header << child<QLabel>(window, name)->text();
    return header;
}

QImage pictureOf(const QWidget* window) {
    return child<QLabel>(window, "chartPicture")->pixmap().toImage();
}

void writeBackground(const testing::TempWorkDir& dir) {
    dir.makeFolder(QStringLiteral("Data"));
    QVERIFY(blankPicture().save(dir.filePath(QStringLiteral("Data/graph.bmp")), "BMP"));
}

} // namespace

class TestProfileChart : public QObject {
    Q_OBJECT

private slots:
    void init() { testing::prepareGuiTest(); }
    void cleanup() { QVERIFY(ui::MessageBox::takeRecorded().isEmpty()); }

    void constantProfileIsVerticalLine_data() {
        QTest::addColumn<int>("sten");
        QTest::addColumn<int>("x");
        QTest::newRow("all 1") << 1 << 135;
        QTest::newRow("all 10") << 10 << 360;
    }

    void constantProfileIsVerticalLine() {
        QFETCH(int, sten);
        QFETCH(int, x);
        QImage picture = blankPicture();
        chart::Plotter(picture).plot(constantProfile(quint8(sten)), ui::kRed);
        for (int y = 38; y <= 486; ++y)
            QVERIFY2(isColour(picture, x, y, ui::kRed), qPrintable(QString::number(y)));
        // The line is 2 pixels wide and ends at the markers of MD and Q4.
        const int red =
            isColour(picture, x - 1, 200, ui::kRed) + isColour(picture, x + 1, 200, ui::kRed);
        QCOMPARE(red, 1);
        QVERIFY(!isColour(picture, x, 33, ui::kRed));
        QVERIFY(!isColour(picture, x, 491, ui::kRed));
        QCOMPARE(countColour(picture, ui::kRed, picture.rect()),
                 countColour(picture, ui::kRed, QRect(x - 3, 33, 7, 459)));
    }

    void zigzagJoinsMarkerCentres() {
        QImage picture = blankPicture();
        const Profile profile = zigzag();
        chart::Plotter(picture).plot(profile, ui::kRed);
        for (int k = 1; k < 17; ++k) {
            const QPointF from(chart::stenX(profile[std::size_t(k - 1)]), chart::rowY(k));
            const QPointF to(chart::stenX(profile[std::size_t(k)]), chart::rowY(k + 1));
            for (double t : {0.1, 0.3, 0.5, 0.7, 0.9}) {
                const QPointF on = from + t * (to - from);
                QVERIFY2(nearColour(picture, on.x(), on.y(), ui::kRed),
                         qPrintable(QStringLiteral("segment %1 at %2").arg(k).arg(t)));
            }
            // Half-way between two rows, nothing lies off the segment.
            const QPointF middle = (from + to) / 2;
            QVERIFY(!nearColour(picture, middle.x(), middle.y() - 8, ui::kRed));
        }
    }

    // Every marker sits centred on its point, in the first curve's pen and in a later one's: on
    // the point's row the colour reaches as far left as right, and in the outermost column of
    // the marker as far up as down.
    void markersCentredOnTheirPoints_data() {
        QTest::addColumn<bool>("laterCurve");
        QTest::newRow("first curve") << false;
        QTest::newRow("later curve") << true;
    }
    void markersCentredOnTheirPoints() {
        QFETCH(bool, laterCurve);
        QImage picture = blankPicture();
        chart::Plotter plotter(picture);
        if (laterCurve)
            plotter.plot(constantProfile(1), ui::kBlue);
        plotter.plot(constantProfile(5), ui::kRed);
        const int x = chart::stenX(5);
        const auto reach = [&](int fromX, int fromY, int dx, int dy) {
            int farthest = 0;
            for (int step = 1; step <= 6; ++step)
                if (isColour(picture, fromX + step * dx, fromY + step * dy, ui::kRed))
                    farthest = step;
            return farthest;
        };
        for (int k = 1; k <= 17; ++k) {
            const int y = chart::rowY(k);
            const int left = reach(x, y, -1, 0);
            QCOMPARE(left, reach(x, y, 1, 0));
            QVERIFY(left >= 2); // wider than the line
            QCOMPARE(reach(x - left, y, 0, -1), reach(x - left, y, 0, 1));
        }
    }

    void penWidthCarriesToNextCurve() {
        QImage picture = blankPicture();
        chart::Plotter plotter(picture);
        plotter.plot(constantProfile(2), ui::kRed);
        plotter.plot(constantProfile(8), ui::kBlue);
        // The same shape at two places: the second curve's markers are drawn 2 pixels wide.
        const int y = chart::rowY(9);
        const int thin = countColour(picture, ui::kRed, QRect(chart::stenX(2) - 4, y - 4, 9, 9));
        const int thick = countColour(picture, ui::kBlue, QRect(chart::stenX(8) - 4, y - 4, 9, 9));
        QVERIFY2(thick > thin, qPrintable(QStringLiteral("%1 vs %2").arg(thick).arg(thin)));
    }

    void frameLabelsOnOpaqueWhite() {
        const QColor grey(128, 128, 128);
        QImage picture = blankPicture(grey);
        chart::drawFrame(picture);
        for (int k = 1; k <= 17; ++k) {
            const chart::RowLabels& row = chart::kRows[std::size_t(k - 1)];
            const int top = chart::rowY(k) - chart::kPoleLabelRaise;
            const QPoint corners[] = {{row.lowPoleLeft, top},
                                      {chart::kHighPoleLeft, top},
                                      {chart::kCodeLeft, chart::rowY(k) - chart::kCodeRaise}};
            for (const QPoint corner : corners) {
                QVERIFY(isColour(picture, corner.x(), corner.y(), Qt::white));
                QVERIFY(isColour(picture, corner.x() - 1, corner.y(), grey));
                // (A long high-pole label may run on above the code's box.)
                if (corner.x() != chart::kCodeLeft)
                    QVERIFY(isColour(picture, corner.x(), corner.y() - 1, grey));
                QVERIFY(countColour(picture, Qt::white, QRect(corner, QSize(12, 13))) < 12 * 13);
            }
            // The low-pole label ends left of the sten-1 column.
            QVERIFY(isColour(picture, chart::stenX(1), top + 3, grey));
        }
    }

    void backgroundErrors_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false
                                 << platform::cannotOpenText(
                                        platform::displayPath(chart::kBackgroundName),
                                        platform::systemReason(ENOENT));
        QTest::newRow("not a bitmap")
            << QByteArray("not a picture") << true << QStringLiteral("Bitmap image is not valid");
        QTest::newRow("empty") << QByteArray() << true
                               << QStringLiteral("Bitmap image is not valid");
    }

    void backgroundErrors() {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        QFETCH(QString, message);
        testing::TempWorkDir dir;
        dir.makeFolder(QStringLiteral("Data"));
        if (present)
            dir.writeFile(QStringLiteral("Data/graph.bmp"), content);
        QString thrown;
        try {
            chart::loadBackground();
        } catch (const platform::Error& error) {
            thrown = error.text();
        }
        QCOMPARE(thrown, message);

        // The window opens all the same, its header at "нет" and its picture empty.
        const auto window = chartOf(constantProfile(4));
        window->create();
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList{message});
        QCOMPARE(headerOf(window.get()), QStringList(6, QStringLiteral("нет")));
        QVERIFY(pictureOf(window.get()).isNull());
    }

    void loadsBackground() {
        testing::TempWorkDir dir;
        dir.installProgramFolder();
        const QImage picture = chart::loadBackground();
        QCOMPARE(picture.size(), QSize(505, 505));
    }

    void windowDrawsProfile() {
        testing::TempWorkDir dir;
        writeBackground(dir);
        const auto window = chartOf(zigzag());
        window->create();
        const QImage picture = pictureOf(window.get()).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(505, 505));
        QCOMPARE(child<QLabel>(window.get(), "chartPicture")->geometry(), QRect(0, 64, 505, 505));
        QVERIFY(isColour(picture, chart::stenX(1) - 2, chart::rowY(1), ui::kRed));
        QVERIFY(isColour(picture, chart::stenX(10) + 2, chart::rowY(2), ui::kRed));
        QVERIFY(nearColour(picture, (135 + 360) / 2.0, (38 + 66) / 2.0, ui::kRed));
        // The frame is drawn too: the label boxes are there, text in them.
        const QRect code(chart::kCodeLeft, chart::rowY(1) - chart::kCodeRaise, 14, 12);
        QVERIFY(countColour(picture, Qt::white, code) < code.width() * code.height());
    }

    void header_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("modeText");
        QTest::newRow("test") << int(scoring::EntryMode::Test) << QStringLiteral("Тест пройден");
        QTest::newRow("manual entry")
            << int(scoring::EntryMode::Manual) << QStringLiteral("результаты введены вручную");
    }

    // The chart opened from the results window: the subject it was given, and the date the
    // results window shows (test) or today's (manual entry).
    void header() {
        QFETCH(int, mode);
        QFETCH(QString, modeText);
        testing::TempWorkDir dir;
        dir.installProgramFolder();
        scoring::AnswerSheet sheet;
        for (int item = 1; item <= scoring::kItems; ++item)
            sheet.setAnswer(item, 1);
        const scoring::Subject subject{QStringLiteral("Петрова"), QStringLiteral("Анна"),
                                       QStringLiteral("3"), QStringLiteral("Б-31")};
        ResultsWindow results(nullptr, sheet, subject, scoring::EntryMode(mode));
        results.create();
        results.show();
        const QString shownDate = QStringLiteral("01.02.2003");
        child<QLabel>(&results, "dateValue")->setText(shownDate);

        QStringList header;
        QPointer<ProfileChartWindow> chart;
        testing::step([&] {
            chart = testing::visibleWindow<ProfileChartWindow>();
            QVERIFY(chart);
            header = headerOf(chart);
            testing::closeByFrame(chart);
        });
        child<QPushButton>(&results, "chartButton")->click();
        QVERIFY(chart.isNull());

        const QString date = scoring::EntryMode(mode) == scoring::EntryMode::Manual
                                 ? platform::formatShortDate(QDate::currentDate())
                                 : shownDate;
        QCOMPARE(header,
                 (QStringList{QStringLiteral("Фамилия: Петрова"), QStringLiteral("Имя: Анна"),
                              QStringLiteral("Курс: 3"), QStringLiteral("Группа: Б-31"),
                              QStringLiteral("Дата: ") + date, modeText}));
    }

    // The subject's lines stay whole beside the print button, the date and the entry mode,
    // and markup shows as typed.
    void headerFitsBesideItsNeighbours_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("double surname") << QStringLiteral("Иванова-Петрова Анна");
        QTest::newRow("20 wide letters") << QString(20, u'Ш');
        QTest::newRow("markup") << QStringLiteral("<h1>BIG</h1>");
    }

    void headerFitsBesideItsNeighbours() {
        QFETCH(QString, value);
        testing::TempWorkDir dir;
        writeBackground(dir);
        ProfileChartWindow window(nullptr, constantProfile(5),
                                  scoring::Subject{value, value, value, value},
                                  QStringLiteral("01.02.2003"), scoring::EntryMode::Manual);
        window.create();
        const QStringList captions = {"Фамилия: ", "Имя: ", "Курс: ", "Группа: "};
        int line = 0;
        for (const char* name : {"surnameLabel", "firstNameLabel", "courseLabel", "groupLabel"}) {
            const QLabel* label = child<QLabel>(&window, name);
            QCOMPARE(label->text(), captions[line++] + value);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY2(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()),
                     name);
            QVERIFY2(window.rect().contains(label->geometry()), name);
            for (const char* neighbour : {"printButton", "dateLabel", "modeLabel"})
                QVERIFY2(
                    !label->geometry().intersects(child<QWidget>(&window, neighbour)->geometry()),
                    qPrintable(QLatin1String(name) + u' ' + QLatin1String(neighbour)));
        }
    }

    void failedPrintChangesCaptionOnly() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a printer");
        testing::TempWorkDir dir;
        writeBackground(dir);
        const auto window = chartOf(constantProfile(3));
        window->create();
        window->show();
        const QImage before = pictureOf(window.get());
        const QStringList header = headerOf(window.get());
        QPushButton* print = child<QPushButton>(window.get(), "printButton");
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(print->text(), QStringLiteral("Не выходит:)"));
        QCOMPARE(pictureOf(window.get()), before);
        QCOMPARE(headerOf(window.get()), header);
        QVERIFY(window->isVisible());
    }

    void printsWindowAtTopLeftInItsSize() {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is needed to look at the printed page");
        testing::TempWorkDir dir;
        writeBackground(dir);
        const auto window = chartOf(zigzag());
        window->create();
        window->show();
        QApplication::processEvents();

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        QVERIFY(ui::printWindow(window.get(), &printer));

        // Rendered back at 96 dots per inch, the page shows the window pixel for pixel.
        QProcess render;
        render.start(pdftoppm,
                     {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                      QStringLiteral("-singlefile"), dir.filePath(QStringLiteral("page.pdf")),
                      dir.filePath(QStringLiteral("page"))});
        QVERIFY(render.waitForFinished(60000));
        QCOMPARE(render.exitCode(), 0);
        const QImage page(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        const QImage screen = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(screen.size(), QSize(508, 567));

        // The page's image is compressed and rasterised again, which softens colours; compare
        // the brightness of 8 x 8 blocks: a block out of place or scaled differs at once.
        const auto brightness = [](const QImage& image, int left, int top) {
            int sum = 0;
            for (int y = top; y < top + 8; ++y)
                for (int x = left; x < left + 8; ++x)
                    sum += qGray(image.pixel(x, y));
            return sum / 64;
        };
        int blocks = 0, mismatches = 0;
        for (int y = 0; y + 8 <= screen.height(); y += 8) {
            for (int x = 0; x + 8 <= screen.width(); x += 8) {
                ++blocks;
                mismatches += std::abs(brightness(screen, x, y) - brightness(page, x, y)) > 30;
            }
        }
        QVERIFY2(mismatches < blocks / 100, qPrintable(QString::number(mismatches)));
        // The window's background reaches the page's edge at the top left and ends where the
        // window ends.
        QCOMPARE(page.pixelColor(0, 30), screen.pixelColor(0, 30));
        QCOMPARE(page.pixelColor(506, 30), screen.pixelColor(506, 30));
        // Beyond the window the page is blank.
        QCOMPARE(page.pixelColor(520, 300), QColor(Qt::white));
        QCOMPARE(page.pixelColor(300, 580), QColor(Qt::white));
    }
};

QTEST_MAIN(TestProfileChart)
#include "test_profile_chart.moc"
