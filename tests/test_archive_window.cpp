// The results archive: listing a result file, putting subjects into the places of the
// Selection, freeing them, and the places that outlive the window.

#include "app/app_state.h"
#include "app/main_window.h"
#include "ui/ui_kit.h"
#include "archive/archive_window.h"
#include "archive/result_list_model.h"
#include "platform/codepage.h"
#include "platform/dates.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "scoring/result_file.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QtTest>
#include <cstring>
#include <limits>

namespace {

struct Subject {
    QString surname;
    QString firstName;
    QString course = QStringLiteral("2");
    QString group = QStringLiteral("21");
    QDate date = QDate(2007, 3, 5);
};

QByteArray recordBytes(const Subject& subject) {
    scoring::ResultRecord record;
    record.surname = subject.surname;
    record.firstName = subject.firstName;
    record.course = subject.course;
    record.group = subject.group;
    record.scales.fill(5);
    record.date = platform::dayCount(subject.date);
    return scoring::encodeRecord(record);
}

// Subjects "Фамилия<i>" "Имя<i>" numbered from `first`.
QByteArray numberedRecords(int count, int first = 0) {
    QByteArray bytes;
    for (int i = first; i < first + count; ++i)
        bytes += recordBytes({QStringLiteral("Фамилия%1").arg(i), QStringLiteral("Имя%1").arg(i)});
    return bytes;
}

QString writeResultFile(const testing::TempWorkDir& dir, const QString& name,
                        const QByteArray& bytes) {
    dir.writeFile(QStringLiteral("result/") + name, bytes);
    return dir.filePath(QStringLiteral("result/") + name);
}

void openThroughDialog(ArchiveWindow& window, const QString& path) {
    ui::FileDialog::setNextAnswer(path);
    window.Button1->click();
}

void selectLine(ArchiveWindow& window, int line) {
    window.ListBox1->selectionModel()->select(window.ListModel->index(line),
                                              QItemSelectionModel::ClearAndSelect);
}

QStringList listLines(const ArchiveWindow& window) {
    QStringList lines;
    for (int row = 0; row < window.ListModel->rowCount(); ++row)
        lines << window.ListModel->index(row).data().toString();
    return lines;
}

QStringList placeTexts(const ArchiveWindow& window) {
    QStringList texts;
    for (int place = 1; place <= app::kPlaces; ++place)
        texts << window.placeLabel(place)->text();
    return texts;
}

QStringList selectionSnapshot() {
    QStringList places;
    for (int place = 1; place <= app::kPlaces; ++place) {
        const app::select& chosen = app::state().place(place);
        places << chosen.FileName + QLatin1Char('#') + QString::number(chosen.RecordIndex);
    }
    return places;
}

} // namespace

class TestArchiveWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        testing::prepareGuiTest();
        ui::FileDialog::clearNextAnswer();
        ui::MessageBox::takeRecorded();
    }
    void cleanup() { QCOMPARE(ui::MessageBox::takeRecorded(), QStringList()); }

    void listsWholeRecordsInFileOrder_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QString line0 = QStringLiteral("05.03.2007 Фамилия0 Имя0 2 21");
        const QString line1 = QStringLiteral("05.03.2007 Фамилия1 Имя1 2 21");
        const QString line2 = QStringLiteral("05.03.2007 Фамилия2 Имя2 2 21");
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("piece shorter than a record") << QByteArray(87, 'x') << QStringList();
        QTest::newRow("one record") << numberedRecords(1) << QStringList{line0};
        QTest::newRow("three records") << numberedRecords(3) << QStringList{line0, line1, line2};
        QTest::newRow("100 bytes: one record and a stray piece")
            << numberedRecords(1) + QByteArray(12, 'x') << QStringList{line0};
    }
    void listsWholeRecordsInFileOrder() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), bytes);
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, path);
        QCOMPARE(listLines(window), lines);
        QCOMPARE(window.currentFile(), path);
        QVERIFY(!window.ListBox1->selectionModel()->hasSelection());
    }

    // Lines are built from the strings as stored: exactly the characters their length byte
    // counts, whatever lies after them; a damaged date or length byte never breaks the list.
    void listLineFromStoredBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");

        QByteArray march = recordBytes({QStringLiteral("Петрова"), QStringLiteral("Анна")});
        QTest::newRow("5 March 2007, course 2, group 21")
            << march << QStringLiteral("05.03.2007 Петрова Анна 2 21");

        QTest::newRow("empty names and group")
            << recordBytes({QString(), QString(), QStringLiteral("1"), QString()})
            << QStringLiteral("05.03.2007   1 ");

        QByteArray stale = march;
        stale[0] = 3; // "Пет", the rest of the old surname left in the field
        QTest::newRow("bytes after the length are not shown")
            << stale << QStringLiteral("05.03.2007 Пет Анна 2 21");

        QByteArray overlong = march;
        overlong[0] = char(200);
        overlong.replace(1, 20, platform::toCp1251(QStringLiteral("Абвгдеёжзийклмнопрст")));
        QTest::newRow("length byte beyond the field")
            << overlong << QStringLiteral("05.03.2007 Абвгдеёжзийклмнопрст Анна 2 21");

        QByteArray nan = march;
        const double notANumber = std::numeric_limits<double>::quiet_NaN();
        std::memcpy(nan.data() + 72, &notANumber, 8);
        QTest::newRow("damaged date") << nan << QStringLiteral(" Петрова Анна 2 21");

        QByteArray huge = march;
        const double farAway = 1e300;
        std::memcpy(huge.data() + 72, &farAway, 8);
        QTest::newRow("date out of the calendar") << huge << QStringLiteral(" Петрова Анна 2 21");
    }
    void listLineFromStoredBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        testing::TempWorkDir dir;
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, writeResultFile(dir, QStringLiteral("a.res"), bytes));
        QCOMPARE(listLines(window), QStringList{line});
    }

    void openingFiles_data() {
        QTest::addColumn<bool>("secondExists");
        QTest::addColumn<int>("secondLines");
        QTest::newRow("a second file replaces the lines") << true << 2;
        QTest::newRow("a file that cannot be opened leaves an empty list") << false << 0;
    }
    void openingFiles() {
        QFETCH(bool, secondExists);
        QFETCH(int, secondLines);
        testing::TempWorkDir dir;
        const QString first = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(3));
        QString second = dir.filePath(QStringLiteral("result/missing.res"));
        if (secondExists)
            second = writeResultFile(dir, QStringLiteral("b.res"), numberedRecords(2, 10));
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, first);
        selectLine(window, 1);
        openThroughDialog(window, second);
        QCOMPARE(window.ListModel->rowCount(), secondLines);
        if (secondLines > 0)
            QCOMPARE(listLines(window).constFirst(), QStringLiteral("05.03.2007 Фамилия10 Имя10 2 21"));
        QVERIFY(!window.ListBox1->selectionModel()->hasSelection());
        QCOMPARE(window.currentFile(), second);
        // Cancelling the dialog changes nothing.
        ui::FileDialog::setNextAnswer(QString());
        window.FileOpen1->trigger();
        QCOMPARE(window.currentFile(), second);
        QCOMPARE(window.ListModel->rowCount(), secondLines);
    }

    void ctrlOOpensAFile() {
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(2));
        ArchiveWindow window(nullptr);
        window.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ui::FileDialog::setNextAnswer(path);
        QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(window.ListModel->rowCount(), 2);
    }

    void arrowsWithoutSelectionDoNothing() {
        testing::TempWorkDir dir;
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(3)));
        window.BitBtn1->click();
        window.BitBtn2->click();
        QCOMPARE(placeTexts(window), QStringList(app::kPlaces, QString()));
        QCOMPARE(selectionSnapshot(), QStringList(app::kPlaces, QStringLiteral("#0")));
    }

    // Each set fills label by label from its lowest place; a full set takes nothing more.
    void setsFillInOrderUntilFull_data() {
        QTest::addColumn<bool>("group");
        QTest::addColumn<int>("firstPlace");
        QTest::addColumn<int>("places");
        QTest::newRow("comparison: five places, the sixth is not added") << false << 1 << 5;
        QTest::newRow("group: thirty places, the thirty-first is not added") << true << 6 << 30;
    }
    void setsFillInOrderUntilFull() {
        QFETCH(bool, group);
        QFETCH(int, firstPlace);
        QFETCH(int, places);
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(40));
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, path);
        QPushButton* arrow = group ? window.BitBtn2 : window.BitBtn1;
        for (int n = 0; n < places; ++n) {
            const int line = places - 1 - n; // lines chosen bottom up, so places and lines differ
            selectLine(window, line);
            arrow->click();
            const int place = firstPlace + n;
            QCOMPARE(app::state().place(place).FileName, path);
            QCOMPARE(app::state().place(place).RecordIndex, line);
            QCOMPARE(window.placeLabel(place)->text(),
                     QStringLiteral("Фамилия%1 Имя%1").arg(line));
        }
        // The other set was not touched.
        const int otherPlace = group ? 1 : 6;
        QVERIFY(window.placeLabel(otherPlace)->text().isEmpty());
        QVERIFY(app::state().place(otherPlace).FileName.isEmpty());

        const QStringList textsBefore = placeTexts(window);
        const QStringList selectionBefore = selectionSnapshot();
        selectLine(window, 39);
        arrow->click();
        QCOMPARE(placeTexts(window), textsBefore);
        QCOMPARE(selectionSnapshot(), selectionBefore);
    }

    // Group places fill column by column, each from top to bottom: the labels stand where
    // the window's layout puts them.
    void groupPlacesFillColumnByColumn() {
        testing::TempWorkDir dir;
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(1)));
        selectLine(window, 0);
        QList<QPoint> filled;
        for (int n = 0; n < 30; ++n) {
            window.BitBtn2->click();
            filled << window.placeLabel(6 + n)->pos();
        }
        const int columns[] = {152, 328, 488};
        for (int n = 0; n < 30; ++n)
            QCOMPARE(filled[n], QPoint(columns[n / 10], 272 + 16 * (n % 10)));
        QCOMPARE(window.Label7, window.placeLabel(6));
        QCOMPARE(window.Label36->pos(), QPoint(488, 416));
        QCOMPARE(window.Label2->pos(), QPoint(400, 48));
        QCOMPARE(window.Label6->pos(), QPoint(400, 112));
    }

    void freedPlaceIsFilledAgain() {
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(6));
        ArchiveWindow window(nullptr);
        window.create();
        window.show();
        openThroughDialog(window, path);
        for (int line = 0; line < 4; ++line) {
            selectLine(window, line);
            window.BitBtn1->click();
        }
        QTest::mouseClick(window.Label3, Qt::LeftButton, {}, QPoint(2, 2)); // place 2
        QVERIFY(window.Label3->text().isEmpty());
        QVERIFY(app::state().place(2).FileName.isEmpty());
        QCOMPARE(app::state().place(2).RecordIndex, 0);
        QCOMPARE(window.Label4->text(), QStringLiteral("Фамилия2 Имя2")); // others keep theirs

        selectLine(window, 5);
        window.BitBtn1->click();
        QCOMPARE(window.Label3->text(), QStringLiteral("Фамилия5 Имя5"));
        QCOMPARE(app::state().place(2).RecordIndex, 5);
        QVERIFY(window.Label6->text().isEmpty());
        QVERIFY(app::state().place(5).FileName.isEmpty());

        // Clicking an empty label frees its (already free) place and changes nothing visible.
        const QStringList before = placeTexts(window);
        window.Label6Click();
        QCOMPARE(placeTexts(window), before);
    }

    void subjectsFromTwoFilesKeepTheirFiles() {
        testing::TempWorkDir dir;
        const QString first = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(2));
        const QString second = writeResultFile(dir, QStringLiteral("b.res"), numberedRecords(2, 20));
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, first);
        selectLine(window, 1);
        window.BitBtn1->click();
        openThroughDialog(window, second);
        QCOMPARE(window.Label2->text(), QStringLiteral("Фамилия1 Имя1")); // loading keeps places
        selectLine(window, 1);
        window.BitBtn1->click();
        QCOMPARE(app::state().place(1).FileName, first);
        QCOMPARE(app::state().place(2).FileName, second);
        QCOMPARE(app::state().place(1).RecordIndex, 1);
        QCOMPARE(app::state().place(2).RecordIndex, 1);
        QCOMPARE(window.Label3->text(), QStringLiteral("Фамилия21 Имя21"));
    }

    // A subject without surname and first name shows as a single space, which counts as a
    // filled place for the next add and for the chart buttons.
    void emptyNamesStillFillAPlace_data() {
        QTest::addColumn<bool>("group");
        QTest::newRow("comparison") << false;
        QTest::newRow("group") << true;
    }
    void emptyNamesStillFillAPlace() {
        QFETCH(bool, group);
        testing::TempWorkDir dir;
        const QString path =
            writeResultFile(dir, QStringLiteral("a.res"), recordBytes({QString(), QString()}));
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, path);
        QVERIFY(!window.comparisonChosen());
        QVERIFY(!window.groupChosen());
        selectLine(window, 0);
        QPushButton* arrow = group ? window.BitBtn2 : window.BitBtn1;
        const int first = group ? 6 : 1;
        arrow->click();
        arrow->click();
        QCOMPARE(window.placeLabel(first)->text(), QStringLiteral(" "));
        QCOMPARE(window.placeLabel(first + 1)->text(), QStringLiteral(" "));
        QCOMPARE(app::state().place(first + 1).FileName, path);
        QCOMPARE(window.comparisonChosen(), !group);
        QCOMPARE(window.groupChosen(), group);
    }

    // A record that cannot be read when its place is filled leaves the place free, not
    // filled behind an empty label.
    void unreadableRecordLeavesThePlaceFree_data() {
        QTest::addColumn<bool>("removeFile");
        QTest::newRow("file removed") << true;
        QTest::newRow("file shortened") << false;
    }
    void unreadableRecordLeavesThePlaceFree() {
        QFETCH(bool, removeFile);
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(3));
        ArchiveWindow window(nullptr);
        window.create();
        openThroughDialog(window, path);
        if (removeFile)
            QVERIFY(QFile::remove(path));
        else
            dir.writeFile(QStringLiteral("result/a.res"), numberedRecords(1));
        selectLine(window, 2);
        window.BitBtn1->click();
        window.BitBtn2->click();
        QCOMPARE(placeTexts(window), QStringList(app::kPlaces, QString()));
        QCOMPARE(selectionSnapshot(), QStringList(app::kPlaces, QStringLiteral("#0")));
    }

    // Places filled during an earlier opening are shown when the window opens again; a place
    // whose record can no longer be read is freed.
    void placesKeptFromAnEarlierOpeningAreShown() {
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(3));
        {
            ArchiveWindow earlier(nullptr);
            earlier.create();
            openThroughDialog(earlier, path);
            selectLine(earlier, 2);
            earlier.BitBtn1->click(); // place 1
            earlier.BitBtn2->click(); // place 6
        }
        app::state().place(3) = {dir.filePath(QStringLiteral("result/gone.res")), 0};
        app::state().place(20) = {path, 3}; // beyond the file's end

        ArchiveWindow window(nullptr);
        window.create();
        QCOMPARE(window.Label2->text(), QStringLiteral("Фамилия2 Имя2"));
        QCOMPARE(window.Label7->text(), QStringLiteral("Фамилия2 Имя2"));
        QVERIFY(window.Label4->text().isEmpty());
        QVERIFY(app::state().place(3).FileName.isEmpty());
        QVERIFY(app::state().place(20).FileName.isEmpty());
        QCOMPARE(app::state().place(20).RecordIndex, 0);
        QVERIFY(window.comparisonChosen());
        QVERIFY(window.ListModel->rowCount() == 0); // a new window starts with an empty list

        // The next comparison subject goes to place 2, the lowest free one.
        openThroughDialog(window, path);
        selectLine(window, 0);
        window.BitBtn1->click();
        QCOMPARE(window.Label3->text(), QStringLiteral("Фамилия0 Имя0"));
    }

    void keyboardOrder() {
        ArchiveWindow window(nullptr);
        window.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Button1->setFocus();
        const QList<QWidget*> expected = {window.Button4, window.Button5, window.ListBox1,
                                          window.BitBtn1, window.BitBtn2, window.Button2,
                                          window.Button1};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    // "Загрузить" on the main window opens the archive, which hides the main window while it
    // is open and shows it again when it closes.
    void archiveHidesTheMainWindowWhileOpen() {
        testing::TempWorkDir dir;
        MainWindow main;
        app::state().Form1 = &main;
        main.show();
        bool mainHidden = false;
        bool archiveShown = false;
        testing::later([&] {
            mainHidden = !main.isVisible();
            ArchiveWindow* archive = testing::visibleWindow<ArchiveWindow>();
            archiveShown = archive && archive == app::state().Form11;
            if (archive)
                archive->Button2->click();
        });
        main.Button3->click();
        QVERIFY(archiveShown);
        QVERIFY(mainHidden);
        QVERIFY(main.isVisible());
        QCOMPARE(app::state().Form11, nullptr);
        app::state().Form1 = nullptr;
    }
};

QTEST_MAIN(TestArchiveWindow)
#include "test_archive_window.moc"
