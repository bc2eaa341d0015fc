// The rules behind the results window: the record saved for a subject, and the explanation
// texts read from their file.

#include "platform/dates.h"
#include "scoring/explanations.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"

#include <QTest>

using namespace scoring;

class TestCoreRulesResults : public QObject {
    Q_OBJECT

private slots:
    void savedRecord_data();
    void savedRecord();
    void explanationBlocks_data();
    void explanationBlocks();
};

// The texts are cut to what the result file keeps, so the record built equals the one read back.
void TestCoreRulesResults::savedRecord_data() {
    QTest::addColumn<QStringList>("typed");  // surname, first name, course, group
    QTest::addColumn<QStringList>("stored"); // the same as the record holds them
    QTest::addColumn<int>("mode");
    const QString surname25 = QStringLiteral("Константинопольская-Щедр");
    QTest::newRow("short texts, test")
        << QStringList{"Иванова", "Мария", "2", "ПС-21"}
        << QStringList{"Иванова", "Мария", "2", "ПС-21"} << int(EntryMode::Test);
    QTest::newRow("long texts, manual entry")
        << QStringList{surname25, QStringLiteral("Александра-Виктория-Ю"), "12345678", "ПС-2021"}
        << QStringList{surname25.left(20), QStringLiteral("Александра-Виктория-"), "12345", "ПС-20"}
        << int(EntryMode::Manual);
    QTest::newRow("empty texts") << QStringList{"", "", "", ""} << QStringList{"", "", "", ""}
                                 << int(EntryMode::Test);
}

void TestCoreRulesResults::savedRecord() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    QFETCH(int, mode);
    const Subject subject{typed[0], typed[1], typed[2], typed[3]};
    ScaleProfile profile;
    for (std::size_t k = 0; k < profile.size(); ++k)
        profile[k] = quint8(k % 10 + 1);
    const QDate day(2024, 3, 5);

    const ResultRecord record = buildResultRecord(subject, profile, day, EntryMode(mode));
    QCOMPARE((QStringList{record.surname, record.firstName, record.course, record.group}), stored);
    QCOMPARE(record.scales, profile);
    QCOMPARE(record.date, platform::dayCount(day));
    QCOMPARE(int(record.manualEntry), mode);

    const ResultRecord readBack = decodeRecord(encodeRecord(record));
    QCOMPARE((QStringList{readBack.surname, readBack.firstName, readBack.course, readBack.group}),
             stored);
}

void TestCoreRulesResults::explanationBlocks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QStringList>("expected"); // title, poles, low, high

    QTest::newRow("CR LF, spaces trimmed")
        << QStringLiteral(
               "  Фактор \"Л\" \r\nпол - пол\r\nL-\r\nL+\r\n\r\nФактор \"A\"\r\nа\r\nA-\r\nA+")
        << 2 << QStringList{"Фактор \"A\"", "а", "A-", "A+"};
    QTest::newRow("several empty lines, leading ones too")
        << QStringLiteral("\n\nt1\np1\nl1\nh1\n\n \n\nt2\np2\nl2\nh2\n") << 2
        << QStringList{"t2", "p2", "l2", "h2"};
    QTest::newRow("short block leaves texts empty")
        << QStringLiteral("t1\np1\n\nt2\np2\nl2\nh2") << 1 << QStringList{"t1", "p1", "", ""};
    QTest::newRow("fifth line of a block ignored")
        << QStringLiteral("t1\np1\nl1\nh1\nextra\n\nt2\np2\nl2\nh2") << 2
        << QStringList{"t2", "p2", "l2", "h2"};
    QString eighteen;
    for (int block = 1; block <= 18; ++block)
        eighteen += QStringLiteral("t%1\np%1\nl%1\nh%1\n\n").arg(block);
    QTest::newRow("seventeenth of eighteen blocks")
        << eighteen << 17 << QStringList{"t17", "p17", "l17", "h17"};
    QTest::newRow("missing block empty")
        << QStringLiteral("t1\np1\nl1\nh1") << 17 << QStringList{"", "", "", ""};
}

void TestCoreRulesResults::explanationBlocks() {
    QFETCH(QString, text);
    QFETCH(int, scale);
    QFETCH(QStringList, expected);
    const Explanation entry = parseExplanations(text)[std::size_t(scale - 1)];
    QCOMPARE((QStringList{entry.title, entry.poles, entry.low, entry.high}), expected);
}

QTEST_APPLESS_MAIN(TestCoreRulesResults)
#include "test_core_rules_results.moc"
