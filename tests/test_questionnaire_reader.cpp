// The questionnaire reader: statements come out four lines at a time, whatever the line ends,
// and a short file reads on as empty texts.

#include "platform/codepage.h"
#include "platform/error.h"
#include "scoring/questionnaire_reader.h"
#include "tests/support/test_support.h"

#include <QTest>

namespace {

// The texts of statement s as the generated questionnaires hold them.
QStringList itemTexts(int s) {
    return {QStringLiteral("Утверждение %1").arg(s), QStringLiteral("а) ответ %1").arg(s),
            QStringLiteral("б) ответ %1").arg(s), QStringLiteral("в) ответ %1").arg(s)};
}

// A questionnaire of `lines` lines in code page 1251 with the given line end.
QByteArray questionnaire(int lines, const QByteArray& lineEnd) {
    QByteArray bytes;
    for (int line = 0; line < lines; ++line)
        bytes += platform::toCp1251(itemTexts(line / 4 + 1)[line % 4]) + lineEnd;
    return bytes;
}

QStringList texts(const scoring::QuestionnaireItem& item) {
    return {item.statement, item.a, item.b, item.c};
}

} // namespace

class TestQuestionnaireReader : public QObject {
    Q_OBJECT
private slots:
    void lineRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected"); // the texts of the first two items

        const QString long300 = QString(300, QChar(u'ж'));
        QTest::newRow("CR LF") << QByteArray("s1\r\na1\r\nb1\r\nc1\r\ns2\r\na2\r\nb2\r\nc2\r\n")
                               << QStringList{"s1", "a1", "b1", "c1", "s2", "a2", "b2", "c2"};
        QTest::newRow("LF only") << QByteArray("s1\na1\nb1\nc1\ns2\na2\nb2\nc2\n")
                                 << QStringList{"s1", "a1", "b1", "c1", "s2", "a2", "b2", "c2"};
        QTest::newRow("mixed ends, no final end")
            << QByteArray("s1\na1\r\nb1\nc1\r\ns2\na2\nb2\nc2")
            << QStringList{"s1", "a1", "b1", "c1", "s2", "a2", "b2", "c2"};
        QTest::newRow("bare CR is dropped")
            << QByteArray("s\r1\na\r\r1\nb1\r\rc1\r\r\n\r\n") // it never ends a line
            << QStringList{"s1", "a1", "b1c1", "", "", "", "", ""};
        QTest::newRow("0x1A ends the line's text")
            << QByteArray("s1\x1A rest\na1\nb\x1A\x1A\x1A\r\nc1\n\x1A\ns2\na2\nb2\nc2\n")
            << QStringList{"s1", "a1", "b", "c1", "", "s2", "a2", "b2"};
        QTest::newRow("leading and trailing spaces kept")
            << QByteArray("   s1  \n\ta1\n b1\nc1 \n")
            << QStringList{"   s1  ", "\ta1", " b1", "c1 ", "", "", "", ""};
        QTest::newRow("300-character line")
            << platform::toCp1251(long300) + "\na1\nb1\nc1\n"
            << QStringList{long300, "a1", "b1", "c1", "", "", "", ""};
        QTest::newRow("code page 1251")
            << QByteArray("\xDD\xEA\xE7\xE0\xEC\xE5\xED\n\xB8\xEB\xEA\xE0\n\xAB\xF2\xE5\xEA\xF1\xF2"
                          "\xBB\n\xB9 5\n")
            << QStringList{"Экзамен", "ёлка", "«текст»", "№ 5", "", "", "", ""};
        QTest::newRow("empty lines")
            << QByteArray("\n\nb1\n\n") << QStringList{"", "", "b1", "", "", "", "", ""};
        QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", "", "", "", "", ""};
    }
    void lineRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), bytes);

        scoring::QuestionnaireReader reader;
        reader.open();
        QVERIFY(reader.isOpen());
        QStringList read = texts(reader.readItem());
        read += texts(reader.readItem());
        QCOMPARE(read, expected);
    }

    void wholeFileItemByItem_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("420 lines, CR LF") << 420 << QByteArray("\r\n");
        QTest::newRow("420 lines, LF") << 420 << QByteArray("\n");
        QTest::newRow("418 lines") << 418 << QByteArray("\r\n");
        QTest::newRow("longer than 420 lines") << 430 << QByteArray("\r\n");
        QTest::newRow("only 10 lines") << 10 << QByteArray("\n");
    }
    void wholeFileItemByItem() {
        QFETCH(int, lines);
        QFETCH(QByteArray, lineEnd);
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(lines, lineEnd));

        scoring::QuestionnaireReader reader;
        reader.open();
        for (int s = 1; s <= 105; ++s) {
            QStringList expected = itemTexts(s);
            for (int k = 0; k < 4; ++k) {
                if (4 * (s - 1) + k >= lines)
                    expected[k].clear(); // past the end: empty, not an error
            }
            QCOMPARE(texts(reader.readItem()), expected);
        }
        reader.close();
        QVERIFY(!reader.isOpen());
    }

    void statement105OfA418LineFile() {
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(418, "\r\n"));
        scoring::QuestionnaireReader reader;
        reader.open();
        for (int s = 1; s < 105; ++s)
            reader.readItem();
        QCOMPARE(texts(reader.readItem()),
                 (QStringList{"Утверждение 105", "а) ответ 105", "", ""}));
    }

    void nameLookedUpInAnyCase() {
        // The installation ships one data folder; on a case-sensitive disk it may read "data".
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("data/DATA.KDT"), "s1\na1\nb1\nc1\n");
        scoring::QuestionnaireReader reader;
        reader.open();
        QCOMPARE(texts(reader.readItem()), (QStringList{"s1", "a1", "b1", "c1"}));
    }

    void missingFileFailsWithTheFileErrorText_data() {
        QTest::addColumn<bool>("dataFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("no questionnaire in Data") << true << "File not found";
        QTest::newRow("no Data folder") << false << "Invalid filename";
    }
    void missingFileFailsWithTheFileErrorText() {
        QFETCH(bool, dataFolder);
        QFETCH(QString, message);
        testing::TempWorkDir dir;
        if (dataFolder)
            dir.makeFolder(QStringLiteral("Data"));
        scoring::QuestionnaireReader reader;
        QString thrown;
        try {
            reader.open();
        } catch (const platform::Error& error) {
            thrown = error.text();
        }
        QCOMPARE(thrown, message);
        QVERIFY(!reader.isOpen());
        // Reading a reader that never opened gives empty texts, never a crash.
        QCOMPARE(texts(reader.readItem()), (QStringList{"", "", "", ""}));
    }

    // A line longer than any statement is refused when the questionnaire opens, before a test
    // begins; a line the test never shows does not matter.
    void overlongLineRefusedAtOpen_data() {
        QTest::addColumn<int>("longLine");    // 1 to 430
        QTest::addColumn<int>("length");      // its length in bytes
        QTest::addColumn<int>("refusedLine"); // 0: accepted
        QTest::newRow("statement 1 of 2 MB") << 1 << 2'000'000 << 1;
        QTest::newRow("answer c of statement 105, one byte too long") << 420 << 4001 << 420;
        QTest::newRow("the longest line allowed") << 200 << 4000 << 0;
        QTest::newRow("a long line after the last statement") << 425 << 2'000'000 << 0;
    }
    void overlongLineRefusedAtOpen() {
        QFETCH(int, longLine);
        QFETCH(int, length);
        QFETCH(int, refusedLine);
        QByteArray bytes;
        for (int line = 1; line <= 430; ++line)
            bytes += (line == longLine ? QByteArray(length, 'x') : QByteArray("s")) + "\r\n";
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), bytes);

        scoring::QuestionnaireReader reader;
        QString thrown;
        try {
            reader.open();
        } catch (const platform::Error& error) {
            thrown = error.text();
        }
        if (refusedLine) {
            QCOMPARE(thrown, scoring::damagedQuestionnaireText(refusedLine));
            QVERIFY(thrown.contains(QStringLiteral("строка %1 ").arg(refusedLine)));
            QVERIFY(!reader.isOpen());
            QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")), 0);
            return;
        }
        QCOMPARE(thrown, QString());
        // Checking the lines does not move the reader: statement 1 comes first.
        QCOMPARE(reader.readItem().statement, QStringLiteral("s"));
        for (int s = 2; s <= 105; ++s) {
            const scoring::QuestionnaireItem item = reader.readItem();
            if (longLine == 200 && s == 50)
                QCOMPARE(item.c, QString(length, 'x'));
        }
    }

    void closeReleasesTheFile() {
        testing::TempWorkDir dir;
        dir.writeFile(QStringLiteral("Data/data.kdt"), questionnaire(420, "\r\n"));
        scoring::QuestionnaireReader reader;
        reader.open();
        reader.readItem();
        QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")), 1);
        reader.close();
        QCOMPARE(testing::handlesOpenOn(QStringLiteral("/Data/data.kdt")), 0);
    }
};

QTEST_GUILESS_MAIN(TestQuestionnaireReader)
#include "test_questionnaire_reader.moc"
