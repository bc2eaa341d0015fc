// The scoring key, raw scores and the sten tables.

#include "scoring/key.h"
#include "scoring/stens.h"
#include "tests/support/core_support.h"

#include <QDir>
#include <QTest>

#include <initializer_list>
#include <utility>

using namespace scoring;
using testing::errorOf;

namespace {

AnswerSheet sheetOfAll(quint8 answer) {
    AnswerSheet sheet;
    for (int item = 1; item <= kItems; ++item)
        sheet.setAnswer(item, answer);
    return sheet;
}

// A key that gives `points` for every answer a and 0 for b and c.
QByteArray keyForAnswerA(char points = '1') {
    QByteArray key;
    for (int item = 1; item <= kItems; ++item)
        key += QByteArray(1, points) + "00";
    return key;
}

int scaleNumber(const QString& code) {
    for (int k = 0; k < kScales; ++k) {
        if (code == QLatin1String(kScaleCodes[std::size_t(k)]))
            return k + 1;
    }
    return 0;
}

} // namespace

class TestCoreScoring : public QObject {
    Q_OBJECT

private slots:
    void itemsOfEachScale_data();
    void itemsOfEachScale();
    void keyOfAnswerA_data();
    void keyOfAnswerA();
    void keyFailures_data();
    void keyFailures();
    void keyLengths_data();
    void keyLengths();
    void lineBreakTakesAnEntry();
    void itemWithoutAnswer();
    void stenBoundaries_data();
    void stenBoundaries();
    void stensOfEveryRawScore();
    void profileInScaleOrder();
};

// The item-to-scale table: with 1 point for answer a of the scale's items only, a sheet of all
// a's scores the number of those items on that scale and nothing elsewhere.
void TestCoreScoring::itemsOfEachScale_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<int>>("items");
    const QList<int> base = {0, 17, 34, 51, 68, 85};
    for (int scale = 1; scale <= kScales; ++scale) {
        QList<int> items;
        for (int offset : base)
            items << scale + offset;
        if (scale <= 3)
            items << 102 + scale; // 103, 104, 105 fall to MD, A, B
        const char* code = kScaleCodes[std::size_t(scale - 1)];
        QTest::newRow(code) << QString::fromLatin1(code) << items;
    }
}

void TestCoreScoring::itemsOfEachScale() {
    QFETCH(QString, code);
    QFETCH(QList<int>, items);
    const int scale = scaleNumber(code);
    QByteArray bytes(kItems * kAnswers, '0');
    for (int item : items)
        bytes[3 * (item - 1)] = '1';
    const Scores scores = scoreSheet(parseKey(bytes), sheetOfAll(1));
    for (int k = 1; k <= kScales; ++k)
        QCOMPARE(int(scores.raw[std::size_t(k - 1)]), k == scale ? int(items.size()) : 0);
    for (int item : items)
        QCOMPARE(scaleOfItem(item), scale);
}

void TestCoreScoring::keyOfAnswerA_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<quint8>("answer");
    QTest::addColumn<int>("itemScore");
    QTest::addColumn<int>("longScales");  // MD, A, B: seven items
    QTest::addColumn<int>("shortScales"); // the other fourteen: six items

    QTest::newRow("key of all 0, answers a") << QByteArray(315, '0') << quint8(1) << 0 << 0 << 0;
    QTest::newRow("key of all 0, answers c") << QByteArray(315, '0') << quint8(3) << 0 << 0 << 0;
    QTest::newRow("1 for a, answers a") << keyForAnswerA() << quint8(1) << 1 << 7 << 6;
    QTest::newRow("1 for a, answers b") << keyForAnswerA() << quint8(2) << 0 << 0 << 0;
    QTest::newRow("9 for a, answers a") << keyForAnswerA('9') << quint8(1) << 9 << 63 << 54;
}

void TestCoreScoring::keyOfAnswerA() {
    QFETCH(QByteArray, key);
    QFETCH(quint8, answer);
    QFETCH(int, itemScore);
    QFETCH(int, longScales);
    QFETCH(int, shortScales);
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/Key.kdt"), key);

    const Scores scores = scoreSheet(loadKey(), sheetOfAll(answer));
    for (int item = 1; item <= kItems; ++item)
        QCOMPARE(int(scores.items[std::size_t(item - 1)]), itemScore);
    for (int k = 1; k <= kScales; ++k)
        QCOMPARE(int(scores.raw[std::size_t(k - 1)]), k <= 3 ? longScales : shortScales);
}

void TestCoreScoring::keyFailures_data() {
    QTest::addColumn<bool>("writeKey");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("item");      // the answer given to this item...
    QTest::addColumn<quint8>("answer"); // ...every other item answered a
    QTest::addColumn<QString>("error");

    auto withEntry = [](int item, int answer, const QByteArray& entry) {
        QByteArray key = keyForAnswerA();
        key[3 * (item - 1) + answer - 1] = entry[0];
        return key;
    };
    QTest::newRow("missing file") << false << QByteArray() << 1 << quint8(1)
                                  << QStringLiteral("File not found");
    QTest::newRow("empty file") << true << QByteArray() << 1 << quint8(1)
                                << QStringLiteral("Read beyond end of file");
    QTest::newRow("314 bytes") << true << keyForAnswerA().left(314) << 1 << quint8(1)
                               << QStringLiteral("Read beyond end of file");
    QTest::newRow("letter at the answer given")
        << true << withEntry(50, 2, "x") << 50 << quint8(2)
        << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("Cyrillic letter, code page 1251")
        << true << withEntry(105, 3, "\xC1") << 105 << quint8(3)
        << QStringLiteral("'Б' is not a valid integer value");
    QTest::newRow("space at the answer given")
        << true << withEntry(1, 1, " ") << 1 << quint8(1)
        << QStringLiteral("' ' is not a valid integer value");
    QTest::newRow("minus sign") << true << withEntry(7, 1, "-") << 7 << quint8(1)
                                << QStringLiteral("'-' is not a valid integer value");
    QTest::newRow("NUL byte") << true << withEntry(3, 1, QByteArray(1, '\0')) << 3 << quint8(1)
                              << QStringLiteral("'%1' is not a valid integer value").arg(QChar(0));
    QTest::newRow("letter at an answer not given")
        << true << withEntry(50, 3, "x") << 50 << quint8(2) << QString();
    QTest::newRow("letter at another item's answer")
        << true << withEntry(51, 2, "x") << 50 << quint8(2) << QString();
}

void TestCoreScoring::keyFailures() {
    QFETCH(bool, writeKey);
    QFETCH(QByteArray, key);
    QFETCH(int, item);
    QFETCH(quint8, answer);
    QFETCH(QString, error);
    testing::TempWorkDir dir;
    if (writeKey)
        dir.writeFile(QStringLiteral("Data/Key.kdt"), key);
    else
        QDir().mkpath(QStringLiteral("Data"));
    AnswerSheet sheet = sheetOfAll(1);
    sheet.setAnswer(item, answer);

    QCOMPARE(errorOf([&] { scoreSheet(loadKey(), sheet); }), error);
}

// The first 315 bytes are the key, whatever follows; the name is found in any letter case.
void TestCoreScoring::keyLengths_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("exactly 315") << QStringLiteral("Data/Key.kdt") << keyForAnswerA();
    QTest::newRow("longer, rest ignored")
        << QStringLiteral("Data/Key.kdt") << keyForAnswerA() + QByteArray("xyz\r\n\0\xFF", 7);
    QTest::newRow("other letter case") << QStringLiteral("data/KEY.kdt") << keyForAnswerA();
}

void TestCoreScoring::keyLengths() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, key);
    testing::TempWorkDir dir;
    dir.writeFile(fileName, key);
    const ScoringKey loaded = loadKey();
    QCOMPARE(QByteArray(loaded.entries.data(), int(loaded.entries.size())), key.left(315));
    const Scores scores = scoreSheet(loaded, sheetOfAll(1));
    QCOMPARE(int(scores.raw[0]), 7);
    QCOMPARE(int(scores.raw[16]), 6);
}

// A key written as text, a line break after each item's three digits: the breaks take key
// places, so every later entry shifts.
void TestCoreScoring::lineBreakTakesAnEntry() {
    QByteArray text;
    for (int item = 1; item <= kItems; ++item)
        text += "100\n";
    testing::TempWorkDir dir;
    dir.writeFile(QStringLiteral("Data/Key.kdt"), text);
    const ScoringKey key = loadKey();
    QCOMPARE(key.entry(2, 1), '\n');
    QCOMPARE(key.entry(2, 2), '1');

    QCOMPARE(key.entry(3, 2), '\n');

    AnswerSheet firstTwo; // the other items unanswered, so that only these two are scored
    firstTwo.setAnswer(1, 2);
    firstTwo.setAnswer(2, 2);
    const Scores scores = scoreSheet(key, firstTwo);
    QCOMPARE(int(scores.items[0]), 0); // item 1 b: '0'
    QCOMPARE(int(scores.items[1]), 1); // item 2 b: the shifted '1' meant for item 2 a
    QCOMPARE(errorOf([&] { scoreSheet(key, sheetOfAll(2)); }), // item 3 b is a line feed
             QStringLiteral("'\n' is not a valid integer value"));
}

// Never reached from the windows, which score only complete sheets: an item without an answer
// earns nothing and reads no key entry, not even the previous item's.
void TestCoreScoring::itemWithoutAnswer() {
    QByteArray bytes = keyForAnswerA();
    bytes[3 * (10 - 1) - 1] = 'x'; // item 9, answer c, just before item 10's entries
    AnswerSheet sheet = sheetOfAll(1);
    sheet.setAnswer(1, 0);
    sheet.setAnswer(10, 0);
    sheet.setAnswer(11, 4);
    const Scores scores = scoreSheet(parseKey(bytes), sheet);
    QCOMPARE(int(scores.items[0]), 0);
    QCOMPARE(int(scores.items[9]), 0);
    QCOMPARE(int(scores.items[10]), 0);
    QCOMPARE(int(scores.raw[0]), 6);  // MD lost item 1
    QCOMPARE(int(scores.raw[9]), 5);  // L lost item 10
    QCOMPARE(int(scores.raw[10]), 5); // M lost item 11
}

// Every scale's two ends and every jump between them, a boundary on each side.
void TestCoreScoring::stenBoundaries_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("sten");
    auto rows = [](const char* code, std::initializer_list<std::pair<int, int>> pairs) {
        for (const auto& [raw, sten] : pairs)
            QTest::newRow(QByteArray(code).append(" raw ").append(QByteArray::number(raw)))
                << QString::fromLatin1(code) << raw << sten;
    };
    rows("MD", {{0, 1}, {2, 1}, {3, 2}, {10, 9}, {11, 10}, {12, 10}});
    rows("A", {{4, 1}, {5, 2}, {8, 5}, {9, 7}, {11, 9}, {12, 10}});
    rows("B", {{2, 1}, {3, 3}, {4, 5}, {5, 7}, {6, 8}, {7, 10}, {8, 10}});
    rows("C", {{3, 1}, {4, 2}, {11, 9}, {12, 10}});
    rows("E", {{1, 1}, {2, 2}, {9, 9}, {10, 10}, {11, 10}});
    rows("F", {{2, 1}, {3, 3}, {9, 9}, {10, 10}});
    rows("G", {{3, 1}, {4, 2}, {11, 9}, {12, 10}});
    rows("H", {{3, 1}, {4, 2}, {11, 9}, {12, 10}});
    rows("I", {{3, 1}, {4, 2}, {11, 9}, {12, 10}});
    rows("L", {{1, 1}, {2, 2}, {3, 4}, {4, 5}, {5, 7}, {6, 8}, {7, 9}, {8, 10}});
    rows("M", {{3, 1}, {4, 3}, {10, 9}, {11, 10}});
    rows("N", {{1, 1}, {2, 2}, {9, 9}, {10, 10}});
    rows("O", {{1, 1}, {2, 2}, {9, 9}, {10, 10}});
    rows("Q1", {{4, 1}, {5, 2}, {6, 3}, {7, 5}, {11, 9}, {12, 10}});
    rows("Q2", {{2, 1}, {3, 2}, {4, 4}, {9, 9}, {10, 10}});
    rows("Q3", {{2, 1}, {3, 2}, {10, 9}, {11, 10}});
    rows("Q4", {{1, 1}, {2, 2}, {5, 5}, {6, 6}, {7, 6}, {8, 7}, {10, 9}, {11, 10}});
    for (const char* code : kScaleCodes)
        rows(code, {{0, 1}, {63, 10}, {255, 10}});
}

void TestCoreScoring::stenBoundaries() {
    QFETCH(QString, code);
    QFETCH(int, raw);
    QFETCH(int, sten);
    QCOMPARE(int(stenFor(scaleNumber(code), raw)), sten);
}

// Every raw score a byte can hold gives one sten from 1 to 10, never falling as raw grows.
void TestCoreScoring::stensOfEveryRawScore() {
    for (int scale = 1; scale <= kScales; ++scale) {
        int previous = 1;
        for (int raw = 0; raw <= 255; ++raw) {
            const int sten = stenFor(scale, raw);
            QVERIFY2(sten >= previous && sten <= 10,
                     qPrintable(QStringLiteral("scale %1 raw %2").arg(scale).arg(raw)));
            previous = sten;
        }
    }
}

// Each scale is converted with its own row: the same raw 9 gives different stens.
void TestCoreScoring::profileInScaleOrder() {
    RawScores raw{};
    raw.fill(9);
    const ScaleProfile expected = {8, 7, 10, 7, 9, 9, 7, 7, 7, 10, 8, 9, 9, 7, 9, 8, 8};
    QCOMPARE(toStens(raw), expected);
    raw.fill(0);
    ScaleProfile ones{};
    ones.fill(1);
    QCOMPARE(toStens(raw), ones);
}

QTEST_GUILESS_MAIN(TestCoreScoring)
#include "test_core_scoring.moc"
