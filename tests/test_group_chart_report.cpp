// The group chart's «Справка PDF»: the class report of the places shown, saved where the save
// dialog says.

#include "archive/selection.h"
#include "charts/group_chart_window.h"
#include "tests/support/chart_support.h"
#include "tests/support/class_records.h"
#include "tests/support/test_support.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

class TestGroupChartReport : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        archive::resetSelection();
    }

    void cleanup() { ui::FileDialog::clearNextAnswer(); }

    void classReport_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("saved") << false;
        QTest::newRow("dialog cancelled") << true;
    }

    void classReport() {
        QFETCH(bool, cancelled);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        testing::TempWorkDir work;
        work.installProgramFolder();
        const QList<scoring::ResultRecord> records = testing::classRecords();
        for (int i = 0; i < records.size(); ++i)
            testing::choose(6 + i, QStringLiteral("class.res"), records[i]);

        GroupChartWindow window(nullptr, archive::selection().groupPlaces());
        window.create();
        const QString pdf = work.filePath(QStringLiteral("saved_img/класс.pdf"));
        ui::FileDialog::setNextAnswer(cancelled ? QString() : pdf);
        auto* button = testing::child<QPushButton>(&window, "classReportButton");
        QCOMPARE(button->text(), QStringLiteral("Справка PDF"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
        QCOMPARE(QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files).size(),
                 cancelled ? 0 : 1);
        if (cancelled)
            return;

        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        QVERIFY2(page.contains(QStringLiteral("Группа: 9А, 9Б")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("Число учащихся: 4")));
        for (const scoring::ResultRecord& record : records)
            QVERIFY(page.contains(record.surname + u' ' + record.firstName));
    }
};

QTEST_MAIN(TestGroupChartReport)
#include "test_group_chart_report.moc"
