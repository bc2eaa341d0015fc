// The rules behind the archive and its charts: the list line of a saved subject, the members
// of a chosen group and their mean profile.

#include "platform/codepage.h"
#include "platform/dates.h"
#include "scoring/group_profile.h"
#include "scoring/record_line.h"
#include "scoring/result_file.h"
#include "tests/support/core_support.h"
#include "tests/support/record_builder.h"

#include <QLocale>
#include <QTest>
#include <cstring>
#include <limits>

using namespace scoring;

namespace {

QByteArray withDate(QByteArray bytes, double date) {
    std::memcpy(bytes.data() + 72, &date, 8);
    return bytes;
}

ResultRecord named(const QString& surname) {
    return testing::Record().surname(surname).stens(0);
}

ResultRecord withScales(const QList<int>& values) {
    ResultRecord record;
    for (int k = 0; k < kScales; ++k)
        record.scales[std::size_t(k)] = quint8(values.size() == 1 ? values[0] : values[k]);
    return record;
}

} // namespace

class TestCoreRulesArchive : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    // Lines are built from the strings as stored: exactly the characters their length byte
    // counts, whatever lies after them; a damaged date or length byte never breaks a line.
    void recordLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("archiveLine");
        QTest::addColumn<QString>("groupLine");

        const QByteArray march = encodeRecord(named(QStringLiteral("Петрова")));
        QTest::newRow("5 March 2007, course 2, group 21")
            << march << QStringLiteral("05.03.2007 Петрова Анна 2 21")
            << QStringLiteral("05.03.2007 Петрова Анна 2 курс, 21");

        ResultRecord blank = named(QString());
        blank.firstName.clear();
        blank.course = QStringLiteral("1");
        blank.group.clear();
        QTest::newRow("empty names and group")
            << encodeRecord(blank) << QStringLiteral("05.03.2007   1 ")
            << QStringLiteral("05.03.2007   1 курс, ");

        QByteArray stale = march;
        stale[0] = 3; // "Пет", the rest of the old surname left in the field
        QTest::newRow("bytes after the length are not shown")
            << stale << QStringLiteral("05.03.2007 Пет Анна 2 21")
            << QStringLiteral("05.03.2007 Пет Анна 2 курс, 21");

        QByteArray overlong = march;
        overlong[0] = char(200);
        overlong.replace(1, 20, platform::toCp1251(QStringLiteral("Абвгдеёжзийклмнопрст")));
        QTest::newRow("length byte beyond the field")
            << overlong << QStringLiteral("05.03.2007 Абвгдеёжзийклмнопрст Анна 2 21")
            << QStringLiteral("05.03.2007 Абвгдеёжзийклмнопрст Анна 2 курс, 21");

        QTest::newRow("damaged date")
            << withDate(march, std::numeric_limits<double>::quiet_NaN())
            << QStringLiteral(" Петрова Анна 2 21") << QStringLiteral(" Петрова Анна 2 курс, 21");
        QTest::newRow("date out of the calendar")
            << withDate(march, 1e300) << QStringLiteral(" Петрова Анна 2 21")
            << QStringLiteral(" Петрова Анна 2 курс, 21");
    }
    void recordLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, archiveLine);
        QFETCH(QString, groupLine);
        const ResultRecord record = decodeRecord(bytes);
        QCOMPARE(scoring::recordLine(record), archiveLine);
        QCOMPARE(scoring::recordLine(record, CourseStyle::Named), groupLine);
    }

    // Each member's profile is one value for all scales, or 17 values; an empty mean: none.
    void meanProfile_data() {
        QTest::addColumn<QList<QList<int>>>("members");
        QTest::addColumn<QList<int>>("mean");
        QTest::newRow("one subject") << QList<QList<int>>{{7}} << QList<int>{7};
        QTest::newRow("5 and 6 give 5") << QList<QList<int>>{{5}, {6}} << QList<int>{5};
        QTest::newRow("remainder dropped") << QList<QList<int>>{{1}, {2}, {2}} << QList<int>{1};
        QTest::newRow("thirty tens") << QList<QList<int>>(30, {10}) << QList<int>{10};
        QTest::newRow("scale by scale")
            << QList<QList<int>>{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 5, 6, 7},
                                 {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 3, 5, 7, 9, 10, 10}}
            << QList<int>{5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 1, 2, 4, 5, 7, 8, 8};
        QTest::newRow("no members") << QList<QList<int>>{} << QList<int>{};
    }
    void meanProfile() {
        QFETCH(QList<QList<int>>, members);
        QFETCH(QList<int>, mean);
        QList<ResultRecord> records;
        for (const QList<int>& values : members)
            records << withScales(values);
        const std::optional<ScaleProfile> result = scoring::meanProfile(records);
        QCOMPARE(result.has_value(), !mean.isEmpty());
        if (result)
            QCOMPARE(*result, withScales(mean).scales);
    }

    // Places as "<file>:<record>" ("" free; file "gone" does not exist); the group keeps the
    // readable ones in place order.
    void readGroup_data() {
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("in place order")
            << QStringList{"a:2", "a:0", "a:1"} << QStringList{"A2", "A0", "A1"};
        QTest::newRow("from two files")
            << QStringList{"a:0", "b:1", "a:1", "b:0"} << QStringList{"A0", "B1", "A1", "B0"};
        QTest::newRow("free places left out")
            << QStringList{"", "a:1", "", "", "a:1"} << QStringList{"A1", "A1"};
        QTest::newRow("unreadable places left out")
            << QStringList{"gone:0", "a:0", "a:3", "b:2", "b:0"} << QStringList{"A0", "B0"};
        QTest::newRow("nothing readable") << QStringList{"gone:0", ""} << QStringList{};
    }
    void readGroup() {
        QFETCH(QStringList, places);
        QFETCH(QStringList, members);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("result"));
        for (const char* surname : {"A0", "A1", "A2"})
            appendRecord(QStringLiteral("result\\a.res"), named(QString::fromUtf8(surname)));
        for (const char* surname : {"B0", "B1"})
            appendRecord(QStringLiteral("result\\b.res"), named(QString::fromUtf8(surname)));

        QList<RecordRef> refs;
        for (const QString& place : places) {
            const QStringList parts = place.split(u':');
            refs << (place.isEmpty()
                         ? RecordRef{}
                         : RecordRef{work.filePath(QStringLiteral("result/%1.res").arg(parts[0])),
                                     parts[1].toInt()});
        }
        QStringList surnames;
        for (const ResultRecord& member : scoring::readGroup(refs))
            surnames << member.surname;
        QCOMPARE(surnames, members);
    }
};

QTEST_GUILESS_MAIN(TestCoreRulesArchive)
#include "test_core_rules_archive.moc"
