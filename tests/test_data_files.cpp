// The installation's data folder as the program finds it: the questionnaire and key in their
// file formats, a key that can reach both ends of every sten scale, the chart background on
// the shared geometry, the grid pictures, the factor explanations, and the method-description
// window opened from the main window.

#include "app/main_window.h"
#include "app/method_window.h"
#include "graphics/answer_pictures.h"
#include "graphics/chart_geometry.h"
#include "graphics/texts.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "scoring/key.h"
#include "scoring/stens.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int kQuestionnaireLines = 420;
const QString kQuestionnaire = QStringLiteral("Data\\data.kdt");

bool isWhite(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

// The first pixel in a rectangle of the picture that is not white, as "x,y", or empty.
QString firstNonWhite(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!isWhite(image.pixel(x, y)))
                return QStringLiteral("%1,%2").arg(x).arg(y);
        }
    }
    return QString();
}

QByteArray keyDigits(int item) {
    const scoring::ScoringKey key = scoring::loadKey();
    QByteArray digits;
    for (int answer = 1; answer <= 3; ++answer)
        digits += key.entry(item, answer);
    return digits;
}

// A sheet whose answers to the items of one scale earn the most (or fewest) points the key
// gives; every other item is answered a.
scoring::AnswerSheet extremeSheet(const scoring::ScoringKey& key, int scale, bool highest) {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= scoring::kItems; ++item) {
        quint8 chosen = 1;
        if (scoring::scaleOfItem(item) == scale) {
            for (quint8 answer = 2; answer <= 3; ++answer) {
                const bool better = highest ? key.entry(item, answer) > key.entry(item, chosen)
                                            : key.entry(item, answer) < key.entry(item, chosen);
                if (better)
                    chosen = answer;
            }
        }
        sheet.setAnswer(item, chosen);
    }
    return sheet;
}

struct ExplanationBlock {
    QString title, poles, low, high;
};

QList<ExplanationBlock> explanationBlocks() {
    QList<ExplanationBlock> blocks;
    QString text = graphics::resourceText(QStringLiteral("explanations.txt"));
    text.remove(QLatin1Char('\r'));
    for (const QString& block : text.trimmed().split(QStringLiteral("\n\n"))) {
        const QStringList lines = block.split(QLatin1Char('\n'));
        if (lines.size() == 4)
            blocks.append(ExplanationBlock{lines[0], lines[1], lines[2], lines[3]});
        else
            blocks.append(ExplanationBlock{});
    }
    return blocks;
}

// Runs inside the method window's showing; the caller closes the window whatever happens here.
void checkMethodWindow(MethodWindow* window, const MainWindow& mainWindow) {
    QCOMPARE(QApplication::activeModalWidget(), window);
    QVERIFY(mainWindow.isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Описание методики"));
    QCOMPARE(window->textBox()->geometry(), window->rect());
    QVERIFY(window->textBox()->isReadOnly());
    QCOMPARE(window->textBox()->toPlainText(),
             graphics::resourceText(QStringLiteral("method.txt")));
    QVERIFY(window->textBox()->toPlainText().size() > 10000);
    window->resize(500, 300);
    QCOMPARE(window->textBox()->geometry(), QRect(0, 0, 500, 300));
}

} // namespace

class DataFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void questionnaireLines();
    void questionnaireBytes();
    void keyFile();
    void keyDigitsOfItem_data();
    void keyDigitsOfItem();
    void scaleReachesBothEnds_data();
    void scaleReachesBothEnds();
    void chartBackgroundFormat();
    void chartBackgroundRow_data();
    void chartBackgroundRow();
    void gridPictures();
    void explanation_data();
    void explanation();
    void methodWindowFromMainWindow();

private:
    std::unique_ptr<testing::TempWorkDir> m_workDir;
};

// One program folder serves every case: nothing here writes into it.
void DataFilesTest::initTestCase() {
    m_workDir = std::make_unique<testing::TempWorkDir>();
    m_workDir->installProgramFolder();
}

void DataFilesTest::init() {
    testing::prepareGuiTest();
}

void DataFilesTest::cleanupTestCase() {
    m_workDir.reset();
}

// The reader the test window uses finds 420 lines, none of them empty, and nothing after them.
void DataFilesTest::questionnaireLines() {
    platform::TextReader reader;
    reader.open(kQuestionnaire);
    for (int line = 1; line <= kQuestionnaireLines; ++line) {
        const QString text = reader.readLine();
        QVERIFY2(!text.trimmed().isEmpty(),
                 qPrintable(QStringLiteral("line %1 is empty").arg(line)));
        QVERIFY2(!text.contains(QChar::ReplacementCharacter),
                 qPrintable(QStringLiteral("line %1 did not decode").arg(line)));
    }
    QCOMPARE(reader.readLine(), QString());
    reader.close();
}

// Code page 1251 without a byte-order mark, every line ended by CR LF, no stray CR or end mark.
void DataFilesTest::questionnaireBytes() {
    const QByteArray bytes = m_workDir->readFile(QStringLiteral("Data/data.kdt"));
    QVERIFY(!bytes.isEmpty());
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), kQuestionnaireLines);
    QCOMPARE(bytes.count("\r\n"), kQuestionnaireLines);
    QCOMPARE(bytes.count('\r'), kQuestionnaireLines);
    QVERIFY(!bytes.contains('\x1A'));
    // Russian text in a single-byte code page: letters from 0xC0 up, never UTF-8 sequences.
    QVERIFY(!bytes.contains("\xD0\xB0")); // "а" as UTF-8
    QVERIFY(bytes.contains('\xE0'));      // "а" in code page 1251
}

void DataFilesTest::keyFile() {
    const QByteArray bytes = m_workDir->readFile(QStringLiteral("Data/Key.kdt"));
    QCOMPARE(bytes.size(), 315);
    for (const char digit : bytes)
        QVERIFY2(digit >= '0' && digit <= '9',
                 qPrintable(QStringLiteral("byte %1").arg(int(digit))));
}

void DataFilesTest::keyDigitsOfItem_data() {
    QTest::addColumn<int>("item");
    for (int item = 1; item <= scoring::kItems; ++item)
        QTest::addRow("item %d (%s)", item,
                      scoring::kScaleCodes[std::size_t(scoring::scaleOfItem(item) - 1)])
            << item;
}

// The reasoning items (scale B) have one right answer worth 1; every other item gives 0 and 2 to
// its poles and 1 to the middle answer b.
void DataFilesTest::keyDigitsOfItem() {
    QFETCH(int, item);
    const QByteArray digits = keyDigits(item);
    QByteArray sorted = digits;
    std::sort(sorted.begin(), sorted.end());
    if (scoring::scaleOfItem(item) == 3) {
        QCOMPARE(sorted, QByteArray("001"));
    } else {
        QCOMPARE(sorted, QByteArray("012"));
        QCOMPARE(digits[1], '1');
    }
}

void DataFilesTest::scaleReachesBothEnds_data() {
    QTest::addColumn<int>("scale");
    for (int scale = 1; scale <= scoring::kScales; ++scale)
        QTest::newRow(scoring::kScaleCodes[std::size_t(scale - 1)]) << scale;
}

void DataFilesTest::scaleReachesBothEnds() {
    QFETCH(int, scale);
    const scoring::ScoringKey key = scoring::loadKey();
    const auto index = std::size_t(scale - 1);
    const auto lowest =
        scoring::toStens(scoring::scoreSheet(key, extremeSheet(key, scale, false)).raw);
    const auto highest =
        scoring::toStens(scoring::scoreSheet(key, extremeSheet(key, scale, true)).raw);
    QCOMPARE(int(lowest[index]), 1);
    QCOMPARE(int(highest[index]), 10);
}

void DataFilesTest::chartBackgroundFormat() {
    const QByteArray bytes = m_workDir->readFile(QStringLiteral("Data/graph.bmp"));
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(int(quint8(bytes.at(28))), 24); // bits per pixel in the bitmap header
    const QImage image(platform::resolvePath(QStringLiteral("data\\graph.bmp")));
    QCOMPARE(image.size(), QSize(chart::kPictureSize, chart::kPictureSize));
}

void DataFilesTest::chartBackgroundRow_data() {
    QTest::addColumn<int>("scale");
    for (int scale = 1; scale <= 17; ++scale)
        QTest::newRow(chart::kRows[std::size_t(scale - 1)].code) << scale;
}

// Each row line runs across the ten columns, each column line crosses the row, and the places
// where the program writes the row's labels stay white.
void DataFilesTest::chartBackgroundRow() {
    QFETCH(int, scale);
    const QImage image(platform::resolvePath(QStringLiteral("data\\graph.bmp")));
    QVERIFY(!image.isNull());
    const int y = chart::rowY(scale);
    const int halfStep = (chart::stenX(2) - chart::stenX(1)) / 2;
    for (int sten = 1; sten <= 10; ++sten) {
        const int x = chart::stenX(sten);
        QVERIFY2(!isWhite(image.pixel(x, y)),
                 qPrintable(QStringLiteral("crossing of sten %1").arg(sten)));
        QVERIFY2(!isWhite(image.pixel(x, y - 14)),
                 qPrintable(QStringLiteral("column %1 above the row").arg(sten)));
        QVERIFY2(!isWhite(image.pixel(x, y + 12)),
                 qPrintable(QStringLiteral("column %1 below the row").arg(sten)));
        if (sten < 10)
            QVERIFY2(
                !isWhite(image.pixel(x + halfStep, y)),
                qPrintable(QStringLiteral("row between stens %1 and %2").arg(sten).arg(sten + 1)));
    }
    const int labelTop = y - chart::kPoleLabelRaise;
    const auto& row = chart::kRows[std::size_t(scale - 1)];
    QCOMPARE(firstNonWhite(image, QRect(QPoint(row.lowPoleLeft, labelTop),
                                        QPoint(chart::stenX(1) - 6, y + 2))),
             QString());
    QCOMPARE(firstNonWhite(image, QRect(QPoint(chart::kHighPoleLeft + 6, labelTop),
                                        QPoint(chart::kCodeLeft - 1, y + 2))),
             QString());
    QCOMPARE(firstNonWhite(image, QRect(QPoint(chart::kCodeLeft, y - chart::kCodeRaise),
                                        QPoint(chart::kPictureSize - 1, y + 10))),
             QString());
}

// The data folder's box and tick are the pictures the test window draws, written without loss;
// the box fits the 25 x 25 grid element, the tick 17 x 17 with a dark mark on it.
void DataFilesTest::gridPictures() {
    const QImage box(platform::resolvePath(QStringLiteral("data\\sq.bmp")));
    QVERIFY(box.width() <= 25 && box.height() <= 25);
    QCOMPARE(box.convertToFormat(QImage::Format_RGB32), graphics::answerBoxPicture());

    const QImage tick(platform::resolvePath(QStringLiteral("data\\check_icon.ico")));
    QVERIFY(tick.width() <= 17 && tick.height() <= 17);
    QCOMPARE(tick.convertToFormat(QImage::Format_ARGB32),
             graphics::tickPicture().convertToFormat(QImage::Format_ARGB32));
    int opaque = 0;
    for (int y = 0; y < tick.height(); ++y) {
        for (int x = 0; x < tick.width(); ++x) {
            const QRgb pixel = tick.pixel(x, y);
            if (qAlpha(pixel) == 255 && qGray(pixel) < 100)
                ++opaque;
        }
    }
    QVERIFY2(opaque >= 20, qPrintable(QStringLiteral("%1 dark opaque pixels").arg(opaque)));
}

void DataFilesTest::explanation_data() {
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("lowLength");
    QTest::addColumn<int>("highLength");
    const int lengths[17][2] = {{85, 70},   {247, 248}, {121, 129}, {157, 171}, {176, 158},
                                {175, 239}, {228, 181}, {167, 165}, {195, 245}, {135, 173},
                                {157, 195}, {213, 190}, {178, 211}, {171, 209}, {187, 223},
                                {141, 82},  {115, 132}};
    for (int scale = 1; scale <= scoring::kScales; ++scale) {
        const QString code = QString::fromLatin1(scoring::kScaleCodes[std::size_t(scale - 1)]);
        const QString title = scale == 1 ? QStringLiteral("Фактор \"Л\" (MD)")
                                         : QStringLiteral("Фактор \"%1\"").arg(code);
        QTest::newRow(qPrintable(code))
            << scale << title << lengths[scale - 1][0] << lengths[scale - 1][1];
    }
}

// Seventeen blocks in scale order, each titled for its factor, with a low-pole and a high-pole
// paragraph that start with the factor's code and keep to the lengths the results window was
// laid out for.
void DataFilesTest::explanation() {
    QFETCH(int, scale);
    QFETCH(QString, title);
    QFETCH(int, lowLength);
    QFETCH(int, highLength);
    const QList<ExplanationBlock> blocks = explanationBlocks();
    QCOMPARE(blocks.size(), scoring::kScales);
    const ExplanationBlock& block = blocks[scale - 1];
    const QString code = QString::fromLatin1(scoring::kScaleCodes[std::size_t(scale - 1)]);
    QCOMPARE(block.title, title);
    QVERIFY(!block.poles.trimmed().isEmpty());
    QVERIFY2(block.low.startsWith(code + QStringLiteral("- ")), qPrintable(block.low.left(10)));
    QVERIFY2(block.high.startsWith(code + QStringLiteral("+ ")), qPrintable(block.high.left(10)));
    const auto within = [](qsizetype length, int expected) {
        return std::abs(double(length) - expected) <= 0.15 * expected;
    };
    QVERIFY2(within(block.low.size(), lowLength),
             qPrintable(QStringLiteral("low pole %1 characters").arg(block.low.size())));
    QVERIFY2(within(block.high.size(), highLength),
             qPrintable(QStringLiteral("high pole %1 characters").arg(block.high.size())));
}

// "Описание методики" opens the method description over the main window, which stays visible;
// the text box fills the window as it is resized; closing it returns to the main window.
void DataFilesTest::methodWindowFromMainWindow() {
    MainWindow mainWindow;
    mainWindow.show();
    auto* methodButton = testing::child<QPushButton>(&mainWindow, "methodButton");
    QVERIFY(methodButton);
    const QRect method = methodButton->geometry();
    QVERIFY(!method.intersects(testing::child<QPushButton>(&mainWindow, "exitButton")->geometry()));
    QVERIFY(
        !method.intersects(testing::child<QPushButton>(&mainWindow, "aboutButton")->geometry()));
    QVERIFY(!method.intersects(testing::child<QWidget>(&mainWindow, "description")->geometry()));

    bool checked = false;
    testing::later([&] {
        auto* window = testing::visibleWindow<MethodWindow>();
        if (!window)
            return;
        checkMethodWindow(window, mainWindow);
        checked = !QTest::currentTestFailed();
        window->close();
    });
    QTest::mouseClick(methodButton, Qt::LeftButton);
    QVERIFY(checked);
    QVERIFY(!mainWindow.findChild<MethodWindow*>());
    QVERIFY(mainWindow.isVisible());
    QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
}

QTEST_MAIN(DataFilesTest)
#include "test_data_files.moc"
