// The results archive: listing a result file, putting subjects into the places of the
// Selection, freeing them, and the places that outlive the window.

#include "app/main_window.h"
#include "archive/archive_window.h"
#include "archive/result_list_model.h"
#include "archive/selection.h"
#include "export/table_export.h"
#include "platform/dates.h"
#include "scoring/result_file.h"
#include "tests/support/test_support.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>

using archive::kPlaces;
using archive::selection;

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

QListView* subjectList(const ArchiveWindow& window) {
    return testing::child<QListView>(&window, "subjectList");
}

QPushButton* button(const ArchiveWindow& window, const char* name) {
    return testing::child<QPushButton>(&window, name);
}

// The two arrows: the selected subject into the comparison places or into the group places.
QPushButton* toComparison(const ArchiveWindow& window) {
    return button(window, "toComparisonButton");
}
QPushButton* toGroup(const ArchiveWindow& window) {
    return button(window, "toGroupButton");
}

void openThroughDialog(ArchiveWindow& window, const QString& path) {
    ui::FileDialog::setNextAnswer(path);
    button(window, "loadButton")->click();
}

void selectLine(ArchiveWindow& window, int line) {
    QListView* list = subjectList(window);
    list->selectionModel()->select(list->model()->index(line, 0),
                                   QItemSelectionModel::ClearAndSelect);
}

bool lineSelected(const ArchiveWindow& window) {
    return subjectList(window)->selectionModel()->hasSelection();
}

int lineCount(const ArchiveWindow& window) {
    return subjectList(window)->model()->rowCount();
}

QStringList listLines(const ArchiveWindow& window) {
    const QAbstractItemModel* model = subjectList(window)->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data().toString();
    return lines;
}

// The line at the top of the list's visible area.
int firstShownLine(const ArchiveWindow& window) {
    QListView* list = subjectList(window);
    return list->indexAt(QPoint(2, 2)).row();
}

// Whether a line of the list lies wholly in its visible area.
bool lineShown(const ArchiveWindow& window, int line) {
    QListView* list = subjectList(window);
    return list->viewport()->rect().contains(list->visualRect(list->model()->index(line, 0)));
}

QStringList placeTexts(const ArchiveWindow& window) {
    QStringList texts;
    for (int place = 1; place <= kPlaces; ++place)
        texts << window.placeLabel(place)->text();
    return texts;
}

QStringList selectionSnapshot() {
    QStringList places;
    for (int place = 1; place <= kPlaces; ++place) {
        const scoring::RecordRef& chosen = selection().place(place);
        places << chosen.fileName + QLatin1Char('#') + QString::number(chosen.recordIndex);
    }
    return places;
}

// An archive window with the result file "a.res" of `bytes` listed through its dialog; shown
// when the test needs its list laid out.
struct Archive {
    testing::TempWorkDir dir;
    QString path;
    ArchiveWindow window{nullptr};
    explicit Archive(const QByteArray& bytes, bool shown = false) {
        path = writeResultFile(dir, QStringLiteral("a.res"), bytes);
        window.create();
        if (shown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        openThroughDialog(window, path);
    }
};

} // namespace

class TestArchiveWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        testing::prepareGuiTest();
        ui::FileDialog::clearNextAnswer();
        ui::MessageBox::takeRecorded();
        archive::resetSelection();
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
        Archive archive(bytes);
        QCOMPARE(listLines(archive.window), lines);
        QCOMPARE(archive.window.currentFile(), archive.path);
        QVERIFY(!lineSelected(archive.window));
    }

    void openingFiles_data() {
        QTest::addColumn<bool>("secondExists");
        QTest::addColumn<int>("secondLines");
        QTest::newRow("a second file replaces the lines") << true << 30;
        QTest::newRow("a file that cannot be opened leaves an empty list") << false << 0;
    }
    void openingFiles() {
        QFETCH(bool, secondExists);
        QFETCH(int, secondLines);
        testing::TempWorkDir dir;
        const QString first = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(40));
        QString second = dir.filePath(QStringLiteral("result/missing.res"));
        if (secondExists)
            second =
                writeResultFile(dir, QStringLiteral("b.res"), numberedRecords(secondLines, 10));
        ArchiveWindow window(nullptr);
        window.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        openThroughDialog(window, first);
        selectLine(window, 1);
        subjectList(window)->scrollToBottom();
        openThroughDialog(window, second);
        QCoreApplication::processEvents();
        QCOMPARE(lineCount(window), secondLines);
        if (secondLines > 0) {
            QCOMPARE(listLines(window).constFirst(),
                     QStringLiteral("05.03.2007 Фамилия10 Имя10 2 21"));
            // The new file is shown from its first line, not where the old one was scrolled to.
            QCOMPARE(firstShownLine(window), 0);
        }
        QVERIFY(!lineSelected(window));
        QCOMPARE(window.currentFile(), second);
        // Ctrl+O asks for a file too; cancelling the dialog changes nothing.
        ui::FileDialog::setNextAnswer(QString());
        QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(window.currentFile(), second);
        QCOMPARE(lineCount(window), secondLines);
        ui::FileDialog::setNextAnswer(first);
        QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(lineCount(window), 40);
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
        Archive archive(numberedRecords(40));
        ArchiveWindow& window = archive.window;
        const QString& path = archive.path;
        QPushButton* arrow = group ? toGroup(window) : toComparison(window);
        for (int n = 0; n < places; ++n) {
            const int line = places - 1 - n; // lines chosen bottom up, so places and lines differ
            selectLine(window, line);
            arrow->click();
            const int place = firstPlace + n;
            QCOMPARE(selection().place(place).fileName, path);
            QCOMPARE(selection().place(place).recordIndex, line);
            QCOMPARE(window.placeLabel(place)->text(), QStringLiteral("Фамилия%1 Имя%1").arg(line));
        }
        // The other set was not touched.
        const int otherPlace = group ? 1 : 6;
        QVERIFY(window.placeLabel(otherPlace)->text().isEmpty());
        QVERIFY(selection().place(otherPlace).fileName.isEmpty());

        const QStringList textsBefore = placeTexts(window);
        const QStringList selectionBefore = selectionSnapshot();
        selectLine(window, 39);
        arrow->click();
        QCOMPARE(placeTexts(window), textsBefore);
        QCOMPARE(selectionSnapshot(), selectionBefore);
    }

    // Every place has a label of its own inside the window, none over another; each set reads
    // in place order, the group column by column, each column from top to bottom.
    void placesStandApartInReadingOrder() {
        Archive archive(numberedRecords(1));
        ArchiveWindow& window = archive.window;
        selectLine(window, 0);
        for (int place = 1; place <= kPlaces; ++place)
            (place <= 5 ? toComparison(window) : toGroup(window))->click();
        for (int place = 1; place <= kPlaces; ++place) {
            const QRect at = window.placeLabel(place)->geometry();
            QVERIFY2(window.rect().contains(at), qPrintable(QString::number(place)));
            for (int other = 1; other < place; ++other)
                QVERIFY2(!at.intersects(window.placeLabel(other)->geometry()),
                         qPrintable(QStringLiteral("%1 over %2").arg(place).arg(other)));
            if (place == 1 || place == 6)
                continue;
            const QPoint before = window.placeLabel(place - 1)->pos();
            const QPoint here = at.topLeft();
            QVERIFY2(here.x() == before.x() ? here.y() > before.y() : here.x() > before.x(),
                     qPrintable(QString::number(place)));
        }
    }

    void freedPlaceIsFilledAgain() {
        Archive archive(numberedRecords(6), true);
        ArchiveWindow& window = archive.window;
        for (int line = 0; line < 4; ++line) {
            selectLine(window, line);
            toComparison(window)->click();
        }
        QTest::mouseClick(window.placeLabel(2), Qt::LeftButton, {}, QPoint(2, 2)); // place 2
        QVERIFY(window.placeLabel(2)->text().isEmpty());
        QVERIFY(selection().place(2).fileName.isEmpty());
        QCOMPARE(selection().place(2).recordIndex, 0);
        QCOMPARE(window.placeLabel(3)->text(),
                 QStringLiteral("Фамилия2 Имя2")); // others keep theirs

        selectLine(window, 5);
        toComparison(window)->click();
        QCOMPARE(window.placeLabel(2)->text(), QStringLiteral("Фамилия5 Имя5"));
        QCOMPARE(selection().place(2).recordIndex, 5);
        QVERIFY(window.placeLabel(5)->text().isEmpty());
        QVERIFY(selection().place(5).fileName.isEmpty());

        // Clicking an empty label frees its (already free) place and changes nothing visible.
        const QStringList before = placeTexts(window);
        QTest::mouseClick(window.placeLabel(5), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(placeTexts(window), before);
    }

    void subjectsFromTwoFilesKeepTheirFiles() {
        Archive archive(numberedRecords(2));
        ArchiveWindow& window = archive.window;
        const QString& first = archive.path;
        const QString second =
            writeResultFile(archive.dir, QStringLiteral("b.res"), numberedRecords(2, 20));
        selectLine(window, 1);
        toComparison(window)->click();
        openThroughDialog(window, second);
        QCOMPARE(window.placeLabel(1)->text(),
                 QStringLiteral("Фамилия1 Имя1")); // loading keeps places
        selectLine(window, 1);
        toComparison(window)->click();
        QCOMPARE(selection().place(1).fileName, first);
        QCOMPARE(selection().place(2).fileName, second);
        QCOMPARE(selection().place(1).recordIndex, 1);
        QCOMPARE(selection().place(2).recordIndex, 1);
        QCOMPARE(window.placeLabel(2)->text(), QStringLiteral("Фамилия21 Имя21"));
    }

    // A name is shown in its place as stored, never as markup; a subject without surname and
    // first name shows as a single space, which counts as a filled place for the next add and
    // for the chart buttons.
    void placeShowsTheNameAsStored_data() {
        QTest::addColumn<bool>("group");
        QTest::addColumn<QString>("surname");
        QTest::newRow("comparison, no names") << false << QString();
        QTest::newRow("group, no names") << true << QString();
        QTest::newRow("comparison, markup") << false << "<h1>BIG</h1>";
        QTest::newRow("group, markup") << true << "<h1>BIG</h1>";
    }
    void placeShowsTheNameAsStored() {
        QFETCH(bool, group);
        QFETCH(QString, surname);
        Archive archive(recordBytes({surname, QString()}));
        ArchiveWindow& window = archive.window;
        QVERIFY(!window.comparisonChosen());
        QVERIFY(!window.groupChosen());
        selectLine(window, 0);
        QPushButton* arrow = group ? toGroup(window) : toComparison(window);
        const int first = group ? 6 : 1;
        arrow->click();
        arrow->click();
        for (const int place : {first, first + 1}) {
            const QLabel* label = window.placeLabel(place);
            QCOMPARE(label->text(), surname + u' ');
            QVERIFY(label->height() < 2 * label->fontMetrics().height()); // one line, no heading
        }
        QCOMPARE(selection().place(first + 1).fileName, archive.path);
        QCOMPARE(window.comparisonChosen(), !group);
        QCOMPARE(window.groupChosen(), group);
    }

    // The arrows fill no place without a selected line, nor with a record that can no longer
    // be read: the place stays free, not filled behind an empty label.
    void arrowsFillNothingUnreadable_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("no line selected") << "unselect";
        QTest::newRow("file removed") << "remove";
        QTest::newRow("file shortened") << "shorten";
    }
    void arrowsFillNothingUnreadable() {
        QFETCH(QString, change);
        Archive archive(numberedRecords(3));
        if (change == u"remove")
            QVERIFY(QFile::remove(archive.path));
        else if (change == u"shorten")
            archive.dir.writeFile(QStringLiteral("result/a.res"), numberedRecords(1));
        if (change != u"unselect")
            selectLine(archive.window, 2);
        toComparison(archive.window)->click();
        toGroup(archive.window)->click();
        QCOMPARE(placeTexts(archive.window), QStringList(kPlaces, QString()));
        QCOMPARE(selectionSnapshot(), QStringList(kPlaces, QStringLiteral("#0")));
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
            toComparison(earlier)->click(); // place 1
            toGroup(earlier)->click();      // place 6
        }
        selection().place(3) = {dir.filePath(QStringLiteral("result/gone.res")), 0};
        selection().place(20) = {path, 3}; // beyond the file's end

        ArchiveWindow window(nullptr);
        window.create();
        QCOMPARE(window.placeLabel(1)->text(), QStringLiteral("Фамилия2 Имя2"));
        QCOMPARE(window.placeLabel(6)->text(), QStringLiteral("Фамилия2 Имя2"));
        QVERIFY(window.placeLabel(3)->text().isEmpty());
        QVERIFY(selection().place(3).fileName.isEmpty());
        QVERIFY(selection().place(20).fileName.isEmpty());
        QCOMPARE(selection().place(20).recordIndex, 0);
        QVERIFY(window.comparisonChosen());
        QVERIFY(lineCount(window) == 0); // a new window starts with an empty list

        // The next comparison subject goes to place 2, the lowest free one.
        openThroughDialog(window, path);
        selectLine(window, 0);
        toComparison(window)->click();
        QCOMPARE(window.placeLabel(2)->text(), QStringLiteral("Фамилия0 Имя0"));
    }

    // The list reads only the lines it shows: a file of any length opens at once and shows its
    // last record at its end; the line read from the file is chosen like any other.
    void hugeFileShowsItsLastRecord_data() {
        QTest::addColumn<qint64>("records");
        QTest::newRow("10^7 records") << qint64(10'000'000);
        QTest::newRow("100 GB") << qint64(100) * 1000 * 1000 * 1000 / scoring::kRecordSize;
    }
    void hugeFileShowsItsLastRecord() {
        QFETCH(qint64, records);
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("big.res"), QByteArray());
        {
            // Sparse: only the last record is written; the others read as zero bytes.
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize((records - 1) * scoring::kRecordSize));
            QVERIFY(file.seek((records - 1) * scoring::kRecordSize));
            QVERIFY(file.write(recordBytes({QStringLiteral("Последний"), QStringLiteral("Имя")})) ==
                    scoring::kRecordSize);
        }
        ArchiveWindow window(nullptr);
        window.create();
        window.show();
        openThroughDialog(window, path);
        QCOMPARE(lineCount(window), int(records));
        QCOMPARE(firstShownLine(window), 0);

        const int last = int(records - 1);
        QListView* list = subjectList(window);
        list->setCurrentIndex(list->model()->index(last, 0));
        list->viewport()->repaint();
        QVERIFY(lineShown(window, last));
        QCOMPARE(list->model()->index(last, 0).data().toString(),
                 QStringLiteral("05.03.2007 Последний Имя 2 21"));
        toComparison(window)->click();
        QCOMPARE(window.placeLabel(1)->text(), QStringLiteral("Последний Имя"));
        QCOMPARE(selection().place(1).recordIndex, last);
        // Typing searches a few thousand lines from the current one, not the whole file.
        QTest::keyClick(list, Qt::Key_X);
        QCOMPARE(list->currentIndex().row(), last);
        // Home goes back to the first line.
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(list->currentIndex().row(), 0);
        QVERIFY(lineShown(window, 0));
    }

    // A file that shrinks under the open list: the lines before the cut stay as they were, the
    // others go once the list meets the cut, without a message; a line that went cannot be
    // chosen.
    void shrinkingFileKeepsTheLinesBeforeTheCut() {
        Archive archive(numberedRecords(1000), true);
        ArchiveWindow& window = archive.window;
        QListView* list = subjectList(window);
        list->viewport()->repaint(); // the first lines are read
        selectLine(window, 999);

        archive.dir.writeFile(QStringLiteral("result/a.res"),
                              numberedRecords(600) + QByteArray(40, 'x'));
        list->scrollToBottom();
        list->viewport()->repaint();
        toComparison(window)->click();
        QCoreApplication::processEvents();

        QCOMPARE(lineCount(window), 600);
        QCOMPARE(listLines(window).constFirst(), QStringLiteral("05.03.2007 Фамилия0 Имя0 2 21"));
        QCOMPARE(listLines(window).constLast(),
                 QStringLiteral("05.03.2007 Фамилия599 Имя599 2 21"));
        QVERIFY(!lineSelected(window));
        QCOMPARE(placeTexts(window), QStringList(kPlaces, QString()));
        QTRY_VERIFY(lineShown(window, 599)); // the list's end moves up to the new last line
    }

    // The list answers keys, clicks and the wheel as a list of lines of one height scrolled
    // line by line: 100 lines, 9 of them wholly shown.
    void listAnswersKeysAndMouse_data() {
        QTest::addColumn<int>("startLine"); // the current line before, -1: none
        QTest::addColumn<int>("startTop");  // the first line shown before
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("top");
        QTest::newRow("Down, no current line") << -1 << 0 << "Down" << 0 << 0;
        QTest::newRow("Down") << 1 << 0 << "Down" << 2 << 0;
        QTest::newRow("PageDown") << 1 << 0 << "PageDown" << 9 << 1;
        QTest::newRow("PageUp") << 17 << 9 << "PageUp" << 9 << 9;
        QTest::newRow("End") << 0 << 0 << "End" << 99 << 91;
        QTest::newRow("Home") << 99 << 91 << "Home" << 0 << 0;
        QTest::newRow("click on the fourth line shown") << -1 << 50 << "click" << 53 << 50;
        QTest::newRow("wheel down") << 50 << 50 << "wheel" << 50 << 53;
    }
    void listAnswersKeysAndMouse() {
        QFETCH(int, startLine);
        QFETCH(int, startTop);
        QFETCH(QString, input);
        QFETCH(int, line);
        QFETCH(int, top);
        Archive archive(numberedRecords(100), true);
        ArchiveWindow& window = archive.window;
        QListView* list = subjectList(window);
        list->setFocus();
        if (startLine >= 0)
            list->setCurrentIndex(list->model()->index(startLine, 0));
        list->verticalScrollBar()->setValue(startTop);

        const QMap<QString, Qt::Key> keys = {{"Down", Qt::Key_Down},
                                             {"PageDown", Qt::Key_PageDown},
                                             {"PageUp", Qt::Key_PageUp},
                                             {"End", Qt::Key_End},
                                             {"Home", Qt::Key_Home}};
        if (keys.contains(input)) {
            QTest::keyClick(list, keys[input]);
        } else if (input == u"click") {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              QPoint(20, 3 * archive::ResultListModel::kLineHeight + 5));
        } else {
            const QPointF at(20, 20);
            QWheelEvent wheel(at, list->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list->viewport(), &wheel);
        }
        QCOMPARE(list->currentIndex().row(), line);
        QCOMPARE(firstShownLine(window), top);
        QVERIFY(lineShown(window, line) || input == u"wheel");
    }

    // The table of the listed file is saved in the form the chosen name asks for; a file that
    // cannot be read leaves a table of the header alone and says why.
    void savesTableAsAnswered_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("removeFile");
        QTest::addColumn<QByteArray>("beginning");
        QTest::addColumn<QStringList>("messages");
        const QByteArray csv = "\xEF\xBB\xBF" + exporting::tableHeader().toUtf8() + "\r\n";
        QTest::newRow("csv") << "t.csv" << false << csv + "a.res;0;2007-03-05;Фамилия0;"
                             << QStringList();
        QTest::newRow("xlsx") << "t.XLSX" << false << QByteArray("PK") << QStringList();
        QTest::newRow("cancelled") << QString() << false << QByteArray() << QStringList();
        QTest::newRow("file gone after listing")
            << "t.csv" << true << csv << QStringList{QStringLiteral("File not found")};
    }
    void savesTableAsAnswered() {
        QFETCH(QString, answer);
        QFETCH(bool, removeFile);
        QFETCH(QByteArray, beginning);
        QFETCH(QStringList, messages);
        testing::TempWorkDir dir;
        const QString path = writeResultFile(dir, QStringLiteral("a.res"), numberedRecords(3));
        ArchiveWindow window(nullptr);
        window.create();
        QPushButton* table = button(window, "tableButton");
        QVERIFY(!table->isEnabled());
        openThroughDialog(window, dir.filePath(QStringLiteral("result/missing.res")));
        QVERIFY(!table->isEnabled());
        openThroughDialog(window, path);
        QVERIFY(table->isEnabled());
        if (removeFile)
            QVERIFY(QFile::remove(path));

        ui::FileDialog::setNextAnswer(answer.isEmpty() ? answer : dir.filePath(answer));
        table->click();
        QCOMPARE(ui::MessageBox::takeRecorded(), messages);
        const QStringList written = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(written, answer.isEmpty() ? QStringList() : QStringList{answer});
        if (!answer.isEmpty())
            QVERIFY(dir.readFile(answer).startsWith(beginning));
    }

    // The report of the selected subject; nothing is written without a record to report on.
    void savesReportOfSelectedLine_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("shortenFile");
        QTest::addColumn<bool>("written");
        QTest::newRow("saved") << "r.pdf" << false << true;
        QTest::newRow("cancelled") << QString() << false << false;
        QTest::newRow("record gone after listing") << "r.pdf" << true << false;
    }
    void savesReportOfSelectedLine() {
        QFETCH(QString, answer);
        QFETCH(bool, shortenFile);
        QFETCH(bool, written);
        Archive archive(numberedRecords(3));
        ArchiveWindow& window = archive.window;
        const testing::TempWorkDir& dir = archive.dir;
        QPushButton* report = button(window, "reportButton");
        QVERIFY(!report->isEnabled());
        selectLine(window, 2);
        QVERIFY(report->isEnabled());
        if (shortenFile)
            dir.writeFile(QStringLiteral("result/a.res"), numberedRecords(1));

        ui::FileDialog::setNextAnswer(answer.isEmpty() ? answer : dir.filePath(answer));
        report->click();
        QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("r.pdf"))), written);
        if (written)
            QVERIFY(dir.readFile(answer).startsWith("%PDF"));
        subjectList(window)->selectionModel()->clearSelection();
        QVERIFY(!report->isEnabled());
    }

    // The open dialog starts in result and a save dialog in saved_img, whichever folder a
    // dialog showed last.
    void dialogsStartInTheirFolders() {
        Archive archive(numberedRecords(2));
        ArchiveWindow& window = archive.window;
        const testing::TempWorkDir& dir = archive.dir;
        dir.makeFolder(QStringLiteral("saved_img"));
        QStringList folders;
        const auto noteFolder = [&folders] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            folders << dialog->directory().absolutePath();
            dialog->reject();
        };
        testing::later(noteFolder);
        button(window, "tableButton")->click();
        testing::later(noteFolder);
        button(window, "loadButton")->click();
        QCOMPARE(folders, (QStringList{dir.filePath(QStringLiteral("saved_img")),
                                       dir.filePath(QStringLiteral("result"))}));
    }

    // Tab goes round every button and the list, each once, so the window works without a mouse.
    void tabReachesEveryControl() {
        Archive archive(numberedRecords(2), true);
        ArchiveWindow& window = archive.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        selectLine(window, 0); // the save buttons are enabled
        button(window, "loadButton")->setFocus();
        QList<QWidget*> reached;
        while (!reached.contains(QApplication::focusWidget()) && reached.size() < 20) {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QList<QWidget*> controls = {subjectList(window)};
        for (QPushButton* control : window.findChildren<QPushButton*>())
            controls << control;
        std::sort(reached.begin(), reached.end());
        std::sort(controls.begin(), controls.end());
        QCOMPARE(reached, controls);
    }

    // "Загрузить" on the main window opens the archive, which hides the main window while it
    // is open and shows it again when it closes.
    void archiveHidesTheMainWindowWhileOpen() {
        testing::TempWorkDir dir;
        MainWindow main;
        main.show();
        bool mainHidden = false;
        bool archiveShown = false;
        testing::later([&] {
            mainHidden = !main.isVisible();
            ArchiveWindow* archive = testing::visibleWindow<ArchiveWindow>();
            archiveShown = archive && archive->parentWidget() == &main;
            if (archive)
                button(*archive, "exitButton")->click();
        });
        testing::child<QPushButton>(&main, "archiveButton")->click();
        QVERIFY(archiveShown);
        QVERIFY(mainHidden);
        QVERIFY(main.isVisible());
        QCOMPARE(testing::visibleWindow<ArchiveWindow>(), nullptr);
    }
};

QTEST_MAIN(TestArchiveWindow)
#include "test_archive_window.moc"
