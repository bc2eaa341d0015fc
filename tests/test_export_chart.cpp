// Saving a chart: the export number, the bitmap and its legend, and what the user sees when
// either cannot be written.

#include "charts/export_chart.h"
#include "tests/support/test_support.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include <optional>

namespace {

// A picture in which every pixel differs from its neighbours, so that any shift, flip or
// colour change of the saved bitmap shows.
QImage patternPicture() {
    QImage picture(505, 505, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 3) % 256));
    }
    return picture;
}

// The two labels of a chart window, already showing an earlier outcome.
struct Labels {
    QLabel status{QStringLiteral("old status")};
    QLabel path{QStringLiteral("old path")};
};

void exportOnce(Labels& labels, const QString& prefix = QStringLiteral("SR_"),
                const QImage& picture = patternPicture()) {
    // Entered the way the export button enters it: an error goes to the message box.
    ui::guarded([&] {
        charts::ExportChart(picture, prefix, QStringLiteral("heading"), {QStringLiteral("line")},
                            &labels.status, &labels.path);
    });
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestExportChart : public QObject {
    Q_OBJECT
private slots:
    void init() { testing::prepareGuiTest(); }

    void takesFirstFreeNumber_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty folder") << QStringList() << "SR_" << 1;
        QTest::newRow("1 and 3 taken")
            << QStringList{"saved_img/SR_1.bmp", "saved_img/SR_3.bmp"} << "SR_" << 2;
        QTest::newRow("freed number reused") << QStringList{"saved_img/SR_2.bmp"} << "SR_" << 1;
        QTest::newRow("legend alone blocks nothing")
            << QStringList{"saved_img/SR_1.txt"} << "SR_" << 1;
        QTest::newRow("other prefix blocks nothing")
            << QStringList{"saved_img/gr_1.bmp"} << "SR_" << 1;
        QTest::newRow("group numbers of their own")
            << QStringList{"saved_img/SR_1.bmp"} << "gr_" << 1;
        QTest::newRow("bitmap in the working directory") << QStringList{"SR_1.bmp"} << "SR_" << 2;
        QTest::newRow("both places together")
            << QStringList{"SR_1.bmp", "saved_img/SR_2.bmp"} << "SR_" << 3;
        QTest::newRow("name in other case") << QStringList{"saved_img/sr_1.BMP"} << "SR_" << 2;
    }
    void takesFirstFreeNumber() {
        QFETCH(QStringList, present);
        QFETCH(QString, prefix);
        QFETCH(int, expected);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        for (const QString& file : present)
            work.writeFile(file, "old");

        Labels labels;
        exportOnce(labels, prefix);

        const QString name = QStringLiteral("saved_img/%1%2").arg(prefix).arg(expected);
        QCOMPARE(labels.status.text(), QStringLiteral("График сохранён в:"));
        QCOMPARE(labels.path.text(), nativePath(name + QStringLiteral(".bmp")));
        QVERIFY(work.readFile(name + QStringLiteral(".bmp")).startsWith("BM"));
        // A legend left without its bitmap is replaced.
        QCOMPARE(work.readFile(name + QStringLiteral(".txt")), QByteArray("heading\r\nline\r\n"));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void everyPressTakesTheNextNumber() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        Labels labels;
        exportOnce(labels);
        QCOMPARE(labels.path.text(), nativePath(QStringLiteral("saved_img/SR_1.bmp")));
        exportOnce(labels);
        QCOMPARE(labels.path.text(), nativePath(QStringLiteral("saved_img/SR_2.bmp")));
        const QStringList files =
            QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{"SR_1.bmp", "SR_1.txt", "SR_2.bmp", "SR_2.txt"}));
    }

    void savesPictureAndLegendExactly() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        const QImage picture = patternPicture();
        QLabel status, path;
        charts::ExportChart(picture, QStringLiteral("SR_"), QStringLiteral("Сравнение графиков :"),
                            {QStringLiteral("Синий"), QString(), QStringLiteral("Ёж 2 -курс")},
                            &status, &path);

        QImage saved;
        QVERIFY(saved.loadFromData(work.readFile(QStringLiteral("saved_img/SR_1.bmp")), "BMP"));
        QCOMPARE(saved.size(), QSize(505, 505));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), picture);

        // Code page 1251, every line ended by CR LF, the heading first, nothing added.
        const QByteArray expected = "\xD1\xF0\xE0\xE2\xED\xE5\xED\xE8\xE5 "
                                    "\xE3\xF0\xE0\xF4\xE8\xEA\xEE\xE2 :\r\n"
                                    "\xD1\xE8\xED\xE8\xE9\r\n"
                                    "\r\n"
                                    "\xA8\xE6 2 -\xEA\xF3\xF0\xF1\r\n";
        QCOMPARE(work.readFile(QStringLiteral("saved_img/SR_1.txt")), expected);
    }

    void missingFolderReportsAndChangesNothing() {
        testing::TempWorkDir work;
        Labels labels;
        exportOnce(labels);

        const QString full = nativePath(work.filePath(QStringLiteral("saved_img/SR_1.bmp")));
        QCOMPARE(
            ui::MessageBox::takeRecorded(),
            QStringList{
                QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(full)});
        QCOMPARE(labels.status.text(), QStringLiteral("old status"));
        QCOMPARE(labels.path.text(), QStringLiteral("old path"));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("saved_img"))));
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void unwritableLegendShowsInStatus_data() {
        QTest::addColumn<QString>("blocker");
        QTest::newRow("legend name taken by a folder") << "folder";
        QTest::newRow("disk full") << "full";
    }
    void unwritableLegendShowsInStatus() {
        QFETCH(QString, blocker);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        if (blocker == u"folder")
            work.makeFolder(QStringLiteral("saved_img/SR_1.txt"));
        // A small chart with a long legend, so that the disk fills up between the two.
        const QImage picture = patternPicture().copy(0, 0, 8, 8);
        const QStringList lines(200, QStringLiteral("a line of the legend"));
        Labels labels;
        {
            std::optional<testing::FileSizeLimit> diskFull;
            if (blocker == u"full")
                diskFull.emplace(1024);
            ui::guarded([&] {
                charts::ExportChart(picture, QStringLiteral("SR_"), QStringLiteral("heading"),
                                    lines, &labels.status, &labels.path);
            });
        }

        QCOMPARE(labels.status.text(), QStringLiteral("Невозможно сохранить файл"));
        QCOMPARE(labels.path.text(), QStringLiteral("old path"));
        QVERIFY(work.readFile(QStringLiteral("saved_img/SR_1.bmp")).startsWith("BM"));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
        // No half-written legend is left behind.
        QCOMPARE(QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("SR_1.bmp")});
    }

    // Nothing is written where a link in the export folder points: a link pointing nowhere
    // takes its number as a file does; a link named as the legend leaves the legend unsaved.
    void linksAreNotWrittenThrough_data() {
        QTest::addColumn<QString>("link");   // in saved_img
        QTest::addColumn<QString>("target"); // in the working directory
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("path");
        QTest::newRow("bitmap name, link pointing nowhere")
            << "SR_1.bmp"
            << "made.bmp" << QStringLiteral("График сохранён в:")
            << nativePath(QStringLiteral("saved_img/SR_2.bmp"));
        QTest::newRow("legend name, link to a file")
            << "SR_1.txt"
            << "kept.txt" << QStringLiteral("Невозможно сохранить файл") << "old path";
    }
    void linksAreNotWrittenThrough() {
        QFETCH(QString, link);
        QFETCH(QString, target);
        QFETCH(QString, status);
        QFETCH(QString, path);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        work.writeFile(QStringLiteral("kept.txt"), "kept");
        QVERIFY(
            QFile::link(work.filePath(target), work.filePath(QStringLiteral("saved_img/") + link)));
        Labels labels;
        exportOnce(labels);

        QCOMPARE(labels.status.text(), status);
        QCOMPARE(labels.path.text(), path);
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
        QCOMPARE(work.readFile(QStringLiteral("kept.txt")), QByteArray("kept"));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("made.bmp"))));
    }

    void emptyChartIsNotSaved() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        Labels labels;
        exportOnce(labels, QStringLiteral("SR_"), QImage());
        QCOMPARE(ui::MessageBox::takeRecorded(),
                 QStringList{QStringLiteral("Bitmap image is not valid")});
        QCOMPARE(labels.status.text(), QStringLiteral("old status"));
        QCOMPARE(QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files),
                 QStringList());
    }
};

QTEST_MAIN(TestExportChart)
#include "test_export_chart.moc"
