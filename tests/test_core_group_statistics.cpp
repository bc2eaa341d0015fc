// The group statistics and the record filters, on the hand-made class of
// tests/support/class_records.h. Expected values were worked out apart from the program
// (Python's statistics module: mean, stdev, median).

#include "scoring/group_statistics.h"
#include "tests/support/class_records.h"

#include <QTest>

#include <cmath>
#include <optional>

using namespace scoring;

Q_DECLARE_METATYPE(scoring::RecordFilter)

namespace {

constexpr double kNone = -1; // an empty figure in the expected rows

RecordFilter groupFilter(const QString& group) {
    RecordFilter filter;
    filter.group = group;
    return filter;
}

bool near(const std::optional<double>& value, double expected) {
    if (expected == kNone)
        return !value;
    return value && std::abs(*value - expected) < 1e-9;
}

QStringList namesOf(const QList<ResultRecord>& records, const RecordFilter& filter) {
    QStringList names;
    for (const ResultRecord& record : records) {
        if (filter.accepts(record))
            names << record.surname;
    }
    return names;
}

} // namespace

class TestCoreGroupStatistics : public QObject {
    Q_OBJECT

private slots:
    void figures_data() {
        QTest::addColumn<RecordFilter>("filter");
        QTest::addColumn<int>("scale");
        QTest::addColumn<qint64>("records");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("sd");
        QTest::addColumn<double>("median");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QList<qint64>>("bands"); // low, average, high

        const RecordFilter all;
        QTest::newRow("all, MD") << all << 1 << 4LL << 4LL << 6.25 << 2.753785273643051 << 6.5 << 3
                                 << 9 << QList<qint64>{1, 1, 2};
        QTest::newRow("all, A: median between the middle two")
            << all << 2 << 4LL << 4LL << 5.25 << 4.425306015783918 << 5.0 << 1 << 10
            << QList<qint64>{2, 0, 2};
        QTest::newRow("all, B: two damaged stens left out of B only")
            << all << 3 << 4LL << 2LL << 6.0 << 1.4142135623730951 << 6.0 << 5 << 7
            << QList<qint64>{0, 2, 0};
        QTest::newRow("all, C: no spread")
            << all << 4 << 4LL << 4LL << 4.0 << 0.0 << 4.0 << 4 << 4 << QList<qint64>{0, 4, 0};
        QTest::newRow("group 9А, MD")
            << groupFilter(QStringLiteral("9А")) << 1 << 3LL << 3LL << 5.666666666666667
            << 3.0550504633038935 << 5.0 << 3 << 9 << QList<qint64>{1, 1, 1};
        QTest::newRow("group 9А, A")
            << groupFilter(QStringLiteral("9А")) << 2 << 3LL << 3LL << 6.666666666666667
            << 4.163331998932265 << 8.0 << 2 << 10 << QList<qint64>{1, 0, 2};
        QTest::newRow("one record: no deviation")
            << groupFilter(QStringLiteral("9Б")) << 1 << 1LL << 1LL << 8.0 << kNone << 8.0 << 8 << 8
            << QList<qint64>{0, 0, 1};
        QTest::newRow("one record, its sten damaged: nothing but zero counts")
            << groupFilter(QStringLiteral("9Б")) << 3 << 1LL << 0LL << kNone << kNone << kNone << -1
            << -1 << QList<qint64>{0, 0, 0};
    }

    void figures() {
        QFETCH(RecordFilter, filter);
        QFETCH(int, scale);
        QFETCH(qint64, records);
        QFETCH(qint64, n);
        QFETCH(double, mean);
        QFETCH(double, sd);
        QFETCH(double, median);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QList<qint64>, bands);

        GroupStatistics statistics;
        for (const ResultRecord& record : testing::classRecords()) {
            if (filter.accepts(record))
                statistics.add(record.scales);
        }
        QCOMPARE(statistics.records(), records);
        const ScaleStatistics figures = statistics.scale(scale);
        QCOMPARE(figures.n, n);
        QVERIFY2(near(figures.mean, mean), "mean");
        QVERIFY2(near(figures.sd, sd), "sd");
        QVERIFY2(near(figures.median, median), "median");
        QCOMPARE(figures.min.value_or(-1), min);
        QCOMPARE(figures.max.value_or(-1), max);
        QCOMPARE((QList<qint64>{figures.low, figures.average, figures.high}), bands);
    }

    void filters_data() {
        QTest::addColumn<RecordFilter>("filter");
        QTest::addColumn<QStringList>("kept");

        RecordFilter filter;
        QTest::newRow("none") << filter << QStringList{"Иванов", "Петрова", "Сидоров", "Орлова"};
        QTest::newRow("group in another case, with spaces")
            << groupFilter(QStringLiteral(" 9а ")) << QStringList{"Иванов", "Петрова", "Сидоров"};
        QTest::newRow("group nobody is in") << groupFilter(QStringLiteral("9")) << QStringList{};
        filter.course = QStringLiteral("2");
        QTest::newRow("course") << filter << QStringList{"Орлова"};
        filter = {};
        filter.from = QDate(2026, 9, 2);
        filter.to = QDate(2026, 9, 3);
        QTest::newRow("both days of the range included")
            << filter << QStringList{"Петрова", "Сидоров"};
        filter = {};
        filter.from = QDate(2026, 9, 3);
        QTest::newRow("from only") << filter << QStringList{"Сидоров", "Орлова"};
        filter = {};
        filter.to = QDate(2026, 9, 1);
        QTest::newRow("to only") << filter << QStringList{"Иванов"};
        filter.group = QStringLiteral("9Б");
        QTest::newRow("every part must hold") << filter << QStringList{};
    }

    void filters() {
        QFETCH(RecordFilter, filter);
        QFETCH(QStringList, kept);
        QCOMPARE(namesOf(testing::classRecords(), filter), kept);
    }

    void damagedDateFailsADateRange() {
        QList<ResultRecord> records = testing::classRecords();
        records[0].date = std::nan("");
        records[1].date = 1e300;
        RecordFilter filter;
        filter.to = QDate(2026, 9, 30);
        QCOMPARE(namesOf(records, filter), QStringList{"Сидоров"});
        QCOMPARE(namesOf(records, RecordFilter{}).size(), 4);
    }

    void classSummary() {
        ClassSummary summary;
        QList<ResultRecord> records = testing::classRecords();
        records[2].date = std::nan(""); // a damaged date neither starts nor ends the period
        for (const ResultRecord& record : records)
            summary.add(record);
        QCOMPARE(summary.students(), 4);
        QCOMPARE(summary.groups(), (QStringList{"9А", "9Б"}));
        QCOMPARE(summary.courses(), (QStringList{"1", "2"}));
        QCOMPARE(summary.firstDate(), QDate(2026, 9, 1));
        QCOMPARE(summary.lastDate(), QDate(2026, 10, 1));
        QCOMPARE(summary.lowStudents(2), (QStringList{"Иванов Пётр", "Орлова Мария"}));
        QCOMPARE(summary.highStudents(2), (QStringList{"Петрова Анна", "Сидоров Иван"}));
        QCOMPARE(summary.lowStudents(3), QStringList{}); // damaged B is in no band
        QCOMPARE(summary.highStudents(3), QStringList{});
        QCOMPARE(summary.desirableAnswers(), (QStringList{"Иванов Пётр", "Орлова Мария"}));
        QCOMPARE(summary.statistics().scale(1).mean.value_or(0), 6.25);
    }
};

QTEST_GUILESS_MAIN(TestCoreGroupStatistics)
#include "test_core_group_statistics.moc"
