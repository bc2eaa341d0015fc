// Reading scanned sheets in the program: main window → paper window → review window, a
// doubtful row settled, the sheets saved as manual entry saves them.

#include "app/main_window.h"
#include "collect/manual_entry_window.h"
#include "collect/paper_window.h"
#include "collect/sheet_review_window.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "scoring/stens.h"
#include "tests/support/sheet_support.h"
#include "tests/support/test_support.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

scoring::AnswerSheet sheetOf(const QString& answers) {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= 105; ++item)
        sheet.setAnswer(item, quint8(answers[item - 1].unicode() - u'a' + 1));
    return sheet;
}

// What manual entry saves today for these answers and names.
QByteArray manualRecord(const scoring::Subject& subject, const QString& answers) {
    const scoring::ScaleProfile profile =
        scoring::toStens(scoring::scoreSheet(scoring::loadKey(), sheetOf(answers)).raw);
    return scoring::encodeRecord(scoring::buildResultRecord(subject, profile, QDate::currentDate(),
                                                            scoring::EntryMode::Manual));
}

void clickBox(SheetReviewWindow& window, int statement, char option) {
    const int box = 3 * (statement - 1) + (option - 'a') + 1;
    QTest::mouseClick(window.grid(), Qt::LeftButton, Qt::NoModifier,
                      window.grid()->image(box).geometry.center());
}

// A step for the window that the next call shows modally. Reading a stack gives the events
// their turn between pages, so the step waits until the window is there.
// A window that never comes leaves the body unrun after a minute.
template <class Window>
void whenShown(std::function<void(Window*)> body,
               QDeadlineTimer deadline = QDeadlineTimer(std::chrono::minutes(1))) {
    testing::later([body = std::move(body), deadline]() mutable {
        Window* window = testing::visibleWindow<Window>();
        if (!window) {
            if (!deadline.hasExpired())
                whenShown<Window>(std::move(body), deadline);
            return;
        }
        body(window);
        if (QTest::currentTestFailed())
            testing::unwindAll();
    });
}

} // namespace

class TestSheetsReview : public QObject {
    Q_OBJECT
private slots:
    void init() { testing::prepareGuiTest(); }
    void cleanup() {
        ui::MessageBox::takeRecorded();
        ui::FileDialog::clearNextAnswer();
    }

    // The paper window saves the booklet and the named sheets of a class list through the
    // file dialogs, naming the list row that gets no sheet.
    void savePrintedMaterials() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        work.writeFile(QStringLiteral("9a.csv"),
                       QStringLiteral("Иванова;Анна;1;ПС-1\n"
                                      "Константинопольская-Северная;Мария;1;ПС-1\n")
                           .toUtf8());
        PaperWindow paper(nullptr);
        paper.create();
        paper.show();
        const QString booklet = work.filePath(QStringLiteral("booklet.pdf"));
        const QString named = work.filePath(QStringLiteral("named.pdf"));
        ui::FileDialog::setNextAnswer(booklet);
        testing::child<QPushButton>(&paper, "bookletPdfButton")->click();
        ui::FileDialog::setNextAnswer(named);
        testing::child<QPushButton>(&paper, "namedSheetsPdfButton")->click();
        QCOMPARE(ui::MessageBox::takeRecorded(),
                 QStringList{QStringLiteral("Сначала выберите список класса.")});
        QVERIFY(!QFile::exists(named));
        ui::FileDialog::clearNextAnswer();

        ui::FileDialog::setNextAnswer(work.filePath(QStringLiteral("9a.csv")));
        testing::child<QPushButton>(&paper, "chooseListButton")->click();
        ui::FileDialog::setNextAnswer(named);
        testing::child<QPushButton>(&paper, "namedSheetsPdfButton")->click();
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList());
        QVERIFY(work.readFile(QStringLiteral("booklet.pdf")).startsWith("%PDF"));
        QVERIFY(work.readFile(QStringLiteral("named.pdf")).startsWith("%PDF"));
        QVERIFY(paper.notes().contains(
            QStringLiteral("строка 2 (Константинопольская-Северная Мария)")));
    }

    void settleAndSave() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        QString answers;
        for (int item = 1; item <= 105; ++item)
            answers += QChar(u'a' + item * 7 % 3);
        QString withDoubt = answers;
        withDoubt[40] = u'?';
        sheets::SheetCode blank;
        blank.serial = 7;
        sheets::SheetCode named;
        named.serial = 8;
        named.subject = scoring::Subject{QStringLiteral("Иванова"), QStringLiteral("Анна"),
                                         QStringLiteral("1"), QStringLiteral("ПС-21")};
        QVERIFY(testing::scannedPage(blank, withDoubt, {}, 200)
                    .aligned.save(work.filePath(QStringLiteral("blank.png"))));
        QVERIFY(testing::scannedPage(named, answers, {}, 200)
                    .aligned.save(work.filePath(QStringLiteral("named.png"))));
        const scoring::Subject typed{QStringLiteral("Петров"), QStringLiteral("Иван"),
                                     QStringLiteral("2"), QStringLiteral("ПС-22")};

        MainWindow mainWindow;
        mainWindow.show();
        bool reviewed = false;
        testing::step([&] { // in the paper window
            PaperWindow* paper = testing::visibleWindow<PaperWindow>();
            QVERIFY(paper);
            QVERIFY(!mainWindow.isVisible());
            ui::FileDialog::setNextAnswer(work.filePath(QStringLiteral("blank.png")) + u'\n' +
                                          work.filePath(QStringLiteral("named.png")));
            whenShown<SheetReviewWindow>([&](SheetReviewWindow* review) {
                QCOMPARE(review->sheetCount(), 2);
                QCOMPARE(review->doubtfulLeft(), QList<int>{41});
                QCOMPARE(review->grid()->current(), 41);
                auto* save = testing::child<QPushButton>(review, "saveButton");
                QVERIFY(!save->isEnabled()); // a doubt left: nothing can be saved
                QTest::mouseClick(save, Qt::LeftButton);
                QCOMPARE(review->savedCount(), 0);

                clickBox(*review, 41, char(answers[40].unicode()));
                QVERIFY(review->doubtfulLeft().isEmpty());
                QVERIFY(save->isEnabled());
                testing::child<QLineEdit>(review, "surnameEdit")->setText(typed.surname);
                testing::child<QLineEdit>(review, "firstNameEdit")->setText(typed.firstName);
                testing::child<QLineEdit>(review, "courseEdit")->setText(typed.course);
                testing::child<QLineEdit>(review, "groupEdit")->setText(typed.group);
                QTest::mouseClick(save, Qt::LeftButton);
                QCOMPARE(review->savedCount(), 1);

                // On to the named sheet, its names filled in from its code.
                QCOMPARE(review->current(), 1);
                QCOMPARE(testing::child<QLineEdit>(review, "surnameEdit")->text(),
                         QStringLiteral("Иванова"));
                QTest::mouseClick(save, Qt::LeftButton);
                QCOMPARE(review->savedCount(), 2);
                reviewed = true;
                // Every sheet saved: "Закрыть" asks nothing.
                testing::child<QPushButton>(review, "closeButton")->click();
            });
            QTest::mouseClick(testing::child<QPushButton>(paper, "readButton"), Qt::LeftButton);
            QVERIFY(paper->notes().contains(QStringLiteral("Сохранено в базе: 2 из 2")));
            paper->close();
        });
        QTest::mouseClick(testing::child<QPushButton>(&mainWindow, "paperButton"), Qt::LeftButton);
        QCoreApplication::processEvents();

        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(reviewed);
        QVERIFY(mainWindow.isVisible());
        QCOMPARE(ui::MessageBox::takeRecorded(), QStringList());
        const QString file = scoring::resultFileName(QDate::currentDate());
        QCOMPARE(scoring::recordCount(file), 2);
        QCOMPARE(scoring::encodeRecord(scoring::readRecord(file, 0)), manualRecord(typed, answers));
        QCOMPARE(scoring::encodeRecord(scoring::readRecord(file, 1)),
                 manualRecord(*named.subject, answers));
    }

    // The same sheet read again on the same day: the record is in the day's file already, so
    // "Сохранить" says so and appends nothing; the sheet stays unsaved, yet dealt with.
    void sheetSavedBefore() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        QString answers;
        for (int item = 1; item <= 105; ++item)
            answers += QChar(u'a' + item * 5 % 3);
        sheets::ScanPage page;
        page.file = QStringLiteral("named.png");
        page.page = 1;
        page.code = sheets::SheetCode{};
        page.code->serial = 12;
        page.code->subject = scoring::Subject{QStringLiteral("Иванова"), QStringLiteral("Анна"),
                                              QStringLiteral("1"), QStringLiteral("ПС-21")};
        page.answers = answers;
        const QString file = scoring::resultFileName(QDate::currentDate());
        scoring::appendRecord(file,
                              scoring::decodeRecord(manualRecord(*page.code->subject, answers)));

        SheetReviewWindow review(nullptr, {page});
        review.create();
        review.show();
        auto* save = testing::child<QPushButton>(&review, "saveButton");
        // A named sheet first in the stack shows its own names, not manual entry's defaults.
        QCOMPARE(review.subject().surname, QStringLiteral("Иванова"));
        QTest::mouseClick(save, Qt::LeftButton);
        const QStringList shown = ui::MessageBox::takeRecorded();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.front().contains(QStringLiteral("уже сохранён")), qPrintable(shown.front()));
        QCOMPARE(review.savedCount(), 0);
        QCOMPARE(scoring::recordCount(file), 1);
        // Nothing is left to save: "Закрыть" asks nothing (a question would stay open, and the
        // modal watchdog fail the test).
        testing::child<QPushButton>(&review, "closeButton")->click();
    }
};

QTEST_MAIN(TestSheetsReview)
#include "test_sheets_review.moc"
