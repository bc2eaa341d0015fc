// dorvel-sheets: its exit codes, and a scanned named sheet saved as manual entry saves it.

#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "scoring/stens.h"
#include "tests/support/core_support.h"
#include "tests/support/sheet_support.h"

#include <QDate>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString errors;
};

Run runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(DORVEL_SHEETS_TOOL), arguments);
    if (!process.waitForFinished(120000))
        qFatal("dorvel-sheets did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every row answered: a, b, c in turn.
QString allAnswered() {
    QString answers;
    for (int item = 1; item <= 105; ++item)
        answers += QChar(u'a' + (item - 1) % 3);
    return answers;
}

void saveScan(const testing::TempWorkDir& work, const QString& name, const sheets::SheetCode& code,
              const QString& answers) {
    QVERIFY(testing::scannedPage(code, answers, QString(), 200)
                .aligned.save(work.filePath(name), "PNG"));
}

} // namespace

class TestSheetsTool : public QObject {
    Q_OBJECT

private slots:
    void exitCodes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says"); // in the output or the errors
        const QString pdf = QStringLiteral("out.pdf");
        QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("Использование");
        QTest::newRow("layout") << QStringList{"layout"} << 0 << QStringLiteral("\"page_mm\"");
        QTest::newRow("blank sheets")
            << QStringList{"sheets", "--count", "2", "-o", pdf} << 0 << QString();
        QTest::newRow("booklet") << QStringList{"booklet", "-o", pdf} << 0 << QString();
        QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("не задана команда");
        QTest::newRow("unknown command") << QStringList{"print"} << 2 << QStringLiteral("print");
        QTest::newRow("unknown option")
            << QStringList{"layout", "--fast"} << 2 << QStringLiteral("fast");
        QTest::newRow("no output") << QStringList{"booklet"} << 2 << QStringLiteral("-o");
        QTest::newRow("no sheets")
            << QStringList{"sheets", "--count", "0", "-o", pdf} << 2 << QStringLiteral("--count");
        QTest::newRow("count with a list")
            << QStringList{"sheets", "--count", "3", "--class-list", "list.csv", "-o", pdf} << 2
            << QStringLiteral("--class-list");
        QTest::newRow("read without scans") << QStringList{"read"} << 2 << QStringLiteral("скан");
        QTest::newRow("json with save") << QStringList{"read", "--json", "--save", "r.res", "a.png"}
                                        << 2 << QStringLiteral("--save");
        QTest::newRow("unwritable PDF")
            << QStringList{"booklet", "-o", "no/such/folder/b.pdf"} << 1 << QStringLiteral("b.pdf");
        QTest::newRow("a row without a sheet")
            << QStringList{"sheets", "--class-list", "list.csv", "-o", pdf} << 1
            << QStringLiteral("строка 3 (Константинопольская-Северная Мария)");
        QTest::newRow("missing class list")
            << QStringList{"sheets", "--class-list", "none.csv", "-o", pdf} << 1
            << QStringLiteral("none.csv");
        QTest::newRow("not a scan")
            << QStringList{"read", "list.csv"} << 1 << QStringLiteral("list.csv");
    }
    void exitCodes() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        testing::TempWorkDir work;
        work.installProgramFolder();
        work.writeFile(QStringLiteral("list.csv"),
                       QStringLiteral("фамилия;имя;курс;группа\nИванова;Анна;1;ПС-1\n"
                                      "Константинопольская-Северная;Мария;1;ПС-1\n")
                           .toUtf8());
        const Run run = runTool(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.errors).contains(says), qPrintable(run.out + run.errors));
        if (exitCode == 0 && arguments.contains(QStringLiteral("-o")))
            QVERIFY(work.readFile(QStringLiteral("out.pdf")).startsWith("%PDF"));
        if (exitCode == 1 && arguments.contains(QStringLiteral("list.csv")) &&
            arguments.front() == u"sheets")
            QVERIFY(work.readFile(QStringLiteral("out.pdf")).startsWith("%PDF"));
    }

    // A named sheet read whole is appended as manual entry saves it; a blank sheet and one
    // with a doubt are left for the window, nothing saved from them, and the exit code says so.
    // Read again, the saved sheet is named as saved already and not appended a second time.
    void saveRecords() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        sheets::SheetCode named;
        named.serial = 1;
        named.subject = scoring::Subject{QStringLiteral("Иванова"), QStringLiteral("Анна"),
                                         QStringLiteral("1"), QStringLiteral("ПС-21")};
        sheets::SheetCode doubtful = named;
        doubtful.serial = 2;
        sheets::SheetCode blank;
        blank.serial = 3;
        QString withDoubt = allAnswered();
        withDoubt[40] = u'?';
        saveScan(work, QStringLiteral("named.png"), named, allAnswered());
        saveScan(work, QStringLiteral("doubt.png"), doubtful, withDoubt);
        saveScan(work, QStringLiteral("blank.png"), blank, allAnswered());

        const Run run = runTool({QStringLiteral("read"), QStringLiteral("--save"),
                                 QStringLiteral("saved.res"), QStringLiteral("named.png"),
                                 QStringLiteral("doubt.png"), QStringLiteral("blank.png")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out.count(QStringLiteral("оставлен для окна")), 2);
        QVERIFY2(run.out.contains(QStringLiteral("сомнительные строки: 41")), qPrintable(run.out));

        QCOMPARE(scoring::recordCount(work.filePath(QStringLiteral("saved.res"))), 1);
        scoring::AnswerSheet answers;
        for (int item = 1; item <= 105; ++item)
            answers.setAnswer(item, quint8((item - 1) % 3 + 1));
        const scoring::ResultRecord expected = scoring::buildResultRecord(
            *named.subject, scoring::toStens(scoring::scoreSheet(scoring::loadKey(), answers).raw),
            QDate::currentDate(), scoring::EntryMode::Manual);
        QCOMPARE(scoring::encodeRecord(
                     scoring::readRecord(work.filePath(QStringLiteral("saved.res")), 0)),
                 scoring::encodeRecord(expected));

        // The same stack read again: the sheet is in the file already and is not appended.
        const Run again = runTool({QStringLiteral("read"), QStringLiteral("--save"),
                                   QStringLiteral("saved.res"), QStringLiteral("named.png")});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(again.out.contains(QStringLiteral("уже сохранён")), qPrintable(again.out));
        QCOMPARE(scoring::recordCount(work.filePath(QStringLiteral("saved.res"))), 1);
    }
};

QTEST_MAIN(TestSheetsTool)
#include "test_sheets_tool.moc"
