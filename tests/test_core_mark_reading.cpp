// The rule that reads a row's answer from the ink in its three boxes, on sheets of different
// pens, scanners and marking habits given as figures.

#include "scoring/mark_reading.h"

#include <QTest>

using namespace scoring;

namespace {

// A sheet's look: the ink of its empty boxes and of its usual mark, a black or a pencil one.
struct Sheet {
    double paper;   // the empty boxes' ink
    double stroke;  // the darkness of the pen's strokes
    double scatter; // how far the empty boxes stray from the paper's ink (noise)
};

const Sheet kBlackPen{0.02, 0.95, 0.002};
const Sheet kPencil{0.03, 0.45, 0.002};
const Sheet kDarkScan{0.09, 0.8, 0.002};
const Sheet kNoisyPencil{0.1, 0.5, 0.006}; // a pencil on a dark, grainy scan

// One box of a row as a letter: o empty, x cross, t tick, q circle, f blackened, h half
// blackened, s a small stray dot, e an erased trace, p a pencil cross on any sheet.
BoxInk boxOf(char kind, const Sheet& sheet) {
    const double s = sheet.stroke;
    switch (kind) {
    case 'x':
        return {sheet.paper + 0.3 * s, 0.3, s, 0.9};
    case 't':
        return {sheet.paper + 0.14 * s, 0.16, s, 0.7};
    case 'q':
        return {sheet.paper + 0.22 * s, 0.24, s, 0.8};
    case 'f':
        return {sheet.paper + 0.9 * s, 0.93, s, 1.0};
    case 'h':
        return {sheet.paper + 0.55 * s, 0.6, s, 1.0};
    case 's':
        return {sheet.paper + 0.05 * s, 0.05, s, 0.2};
    case 'e':
        return {sheet.paper + 0.1 * s, 0.35, 0.25 * s, 0.8};
    case 'p':
        return {sheet.paper + 0.3 * 0.45, 0.3, 0.45, 0.9};
    default:
        return {sheet.paper, 0.5, 0.02, 1.0};
    }
}

RowInk rowOf(const char* kinds, const Sheet& sheet) {
    return {boxOf(kinds[0], sheet), boxOf(kinds[1], sheet), boxOf(kinds[2], sheet)};
}

// A whole sheet: the row under test first, then `answered` of the other 104 rows crossed in
// turn, and the empty boxes scattered a little around the paper's ink like a scan's noise.
QList<RowInk> sheetWith(const char* row, const Sheet& sheet, int answered = 104, char usual = 'x') {
    QList<RowInk> rows{rowOf(row, sheet)};
    for (int item = 2; item <= 105; ++item) {
        char kinds[4] = "ooo";
        if (item - 2 < answered)
            kinds[item % 3] = usual;
        RowInk ink = rowOf(kinds, sheet);
        for (int option = 0; option < 3; ++option) {
            if (kinds[option] == 'o')
                ink[std::size_t(option)].ink += sheet.scatter * ((item * 7 + option * 3) % 5 - 2);
        }
        rows.append(ink);
    }
    return rows;
}

} // namespace

class TestCoreMarkReading : public QObject {
    Q_OBJECT

private slots:
    void row_data();
    void row();
    void blankSheetIsEmpty();
};

void TestCoreMarkReading::row_data() {
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("sheet"); // 0 black pen, 1 pencil, 2 dark scan, 3 noisy pencil
    QTest::addColumn<int>("answered");
    QTest::addColumn<char>("usual");
    QTest::addColumn<char>("answer");

    const struct {
        const char* name;
        const char* boxes;
        int sheet;
        int answered;
        char usual;
        char answer;
    } cases[] = {
        {"cross a", "xoo", 0, 104, 'x', 'a'},
        {"cross b", "oxo", 0, 104, 'x', 'b'},
        {"cross c", "oox", 0, 104, 'x', 'c'},
        {"tick among crosses", "oto", 0, 104, 'x', 'b'},
        {"circle among crosses", "ooq", 0, 104, 'x', 'c'},
        {"blackened box alone", "foo", 0, 104, 'x', 'a'},
        {"blackened box, cross beside", "fxo", 0, 104, 'x', 'b'},
        {"cross, blackened box beside", "oxf", 0, 104, 'x', 'b'},
        {"nothing", "ooo", 0, 104, 'x', '-'},
        {"two crosses", "xox", 0, 104, 'x', '?'},
        {"three crosses", "xxx", 0, 104, 'x', '?'},
        {"two blackened boxes", "ffo", 0, 104, 'x', '?'},
        {"two taken back and a cross", "ffx", 0, 104, 'x', '?'},
        {"two ticks", "tto", 0, 104, 'x', '?'},
        {"half blackened", "hoo", 0, 104, 'x', '?'},
        {"stray dot", "oso", 0, 104, 'x', '?'},
        {"erased trace", "ooe", 0, 104, 'x', '?'},
        {"erased trace beside a cross", "xoe", 0, 104, 'x', '?'},
        {"pencil cross on a pen sheet", "opo", 0, 104, 'x', '?'},
        {"pencil cross on a pencil sheet", "opo", 1, 104, 'x', 'b'},
        {"pencil: blackened, cross beside", "xfo", 1, 104, 'x', 'a'},
        {"pencil: two crosses", "oxx", 1, 104, 'x', '?'},
        {"pencil: nothing", "ooo", 1, 104, 'x', '-'},
        {"dark scan: cross", "oox", 2, 104, 'x', 'c'},
        {"dark scan: tick", "too", 2, 104, 'x', 'a'},
        {"dark scan: nothing", "ooo", 2, 104, 'x', '-'},
        {"dark scan: erased trace", "oeo", 2, 104, 'x', '?'},
        {"noisy: tick among ticks", "oot", 3, 104, 't', 'c'},
        {"noisy: tick among crosses", "too", 3, 104, 'x', 'a'},
        {"noisy: stray dot", "oos", 3, 104, 't', '?'},
        {"few answers: cross", "oxo", 0, 3, 'x', 'b'},
        {"few answers: nothing", "ooo", 0, 3, 'x', '-'},
        {"only mark of the sheet", "oox", 0, 0, 'x', 'c'},
        {"answered by blackening: one", "ofo", 0, 104, 'f', 'b'},
        {"answered by blackening: cross", "oox", 0, 104, 'f', 'c'},
        {"answered by blackening: two", "off", 0, 104, 'f', '?'},
        {"ticked sheet: cross", "xoo", 0, 104, 't', 'a'},
        {"ticked sheet: tick", "oot", 0, 104, 't', 'c'},
        {"ticked sheet: stray dot", "soo", 0, 104, 't', '?'},
        {"circled sheet: circle and tick", "qto", 0, 104, 'q', '?'},
    };
    for (const auto& c : cases)
        QTest::newRow(c.name) << QString::fromLatin1(c.boxes) << c.sheet << c.answered << c.usual
                              << c.answer;
}

void TestCoreMarkReading::row() {
    QFETCH(QString, boxes);
    QFETCH(int, sheet);
    QFETCH(int, answered);
    QFETCH(char, usual);
    QFETCH(char, answer);
    const Sheet looks[] = {kBlackPen, kPencil, kDarkScan, kNoisyPencil};
    const QList<RowReading> readings =
        readRows(sheetWith(boxes.toLatin1().constData(), looks[sheet], answered, usual));
    QCOMPARE(readings.size(), 105);
    QCOMPARE(readings[0].answer, answer);
    QCOMPARE(readings[0].reason.isEmpty(), answer != '?');
    // The sheet's other rows read as they were marked.
    for (int item = 2; item <= 105; ++item)
        QCOMPARE(readings[item - 1].answer, item - 2 < answered ? char('a' + item % 3) : '-');
}

void TestCoreMarkReading::blankSheetIsEmpty() {
    for (const Sheet& sheet : {kBlackPen, kPencil, kDarkScan}) {
        for (const RowReading& reading : readRows(sheetWith("ooo", sheet, 0)))
            QCOMPARE(reading.answer, '-');
    }
}

QTEST_APPLESS_MAIN(TestCoreMarkReading)
#include "test_core_mark_reading.moc"
