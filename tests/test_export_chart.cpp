// Saving a chart: the export number, the bitmap and its legend, and what the user sees when
// either cannot be written.

#include "charts/export_chart.h"
#include "tests/support/test_support.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// Exports the way the export button does: an error goes to the message box and leaves the
// result empty.
charts::ExportedChart exportOnce(const QString& prefix = QStringLiteral("SR_"),
                                 const QImage& picture = patternPicture(),
                                 const QStringList& lines = {QStringLiteral("line")}) {
    charts::ExportedChart exported;
    ui::guarded(
        [&] { exported = charts::exportChart(picture, prefix, QStringLiteral("heading"), lines); });
    return exported;
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A name as the program writes it: "saved_img\SR_1.bmp".
QString programName(QString path) {
    return path.replace(u'/', u'\\');
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
        QTest::newRow("other spellings of a number block nothing")
            << QStringList{"saved_img/SR_01.bmp", "saved_img/SR_+1.bmp", "saved_img/SR_1.bmp.bmp"}
            << "SR_" << 1;
    }
    void takesFirstFreeNumber() {
        QFETCH(QStringList, present);
        QFETCH(QString, prefix);
        QFETCH(int, expected);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        for (const QString& file : present)
            work.writeFile(file, "old");

        const charts::ExportedChart exported = exportOnce(prefix);

        const QString name = QStringLiteral("saved_img/%1%2").arg(prefix).arg(expected);
        QCOMPARE(exported.bitmap, programName(name + QStringLiteral(".bmp")));
        QCOMPARE(exported.legend, programName(name + QStringLiteral(".txt")));
        QVERIFY(work.readFile(name + QStringLiteral(".bmp")).startsWith("BM"));
        // A legend left without its bitmap is replaced.
        QCOMPARE(work.readFile(name + QStringLiteral(".txt")), QByteArray("heading\r\nline\r\n"));
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
    }

    void everyPressTakesTheNextNumber() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        QCOMPARE(exportOnce().bitmap, programName(QStringLiteral("saved_img/SR_1.bmp")));
        QCOMPARE(exportOnce().bitmap, programName(QStringLiteral("saved_img/SR_2.bmp")));
        const QStringList files =
            QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{"SR_1.bmp", "SR_1.txt", "SR_2.bmp", "SR_2.txt"}));
    }

    // Names match in any letter case: a legend left without its bitmap is replaced under its
    // own name, not joined by a second one.
    void legendInOtherCaseIsReplaced() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        work.writeFile(QStringLiteral("saved_img/sr_1.TXT"), "old");
        QCOMPARE(exportOnce().legend, programName(QStringLiteral("saved_img/SR_1.txt")));
        QCOMPARE(QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files),
                 (QStringList{"SR_1.bmp", "sr_1.TXT"}));
        QCOMPARE(work.readFile(QStringLiteral("saved_img/sr_1.TXT")),
                 QByteArray("heading\r\nline\r\n"));
    }

    void savesPictureAndLegendExactly() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        const QImage picture = patternPicture();
        charts::exportChart(picture, QStringLiteral("SR_"), QStringLiteral("Сравнение графиков :"),
                            {QStringLiteral("Синий"), QString(), QStringLiteral("Ёж 2 -курс")});

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
        const charts::ExportedChart exported = exportOnce();

        const QString full = nativePath(work.filePath(QStringLiteral("saved_img/SR_1.bmp")));
        QCOMPARE(
            ui::MessageBox::takeRecorded(),
            QStringList{
                QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(full)});
        QVERIFY(exported.bitmap.isEmpty());
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("saved_img"))));
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void unwritableLegendIsLeftOut_data() {
        QTest::addColumn<QString>("blocker");
        QTest::newRow("legend name taken by a folder") << "folder";
        QTest::newRow("disk full") << "full";
    }
    void unwritableLegendIsLeftOut() {
        QFETCH(QString, blocker);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        if (blocker == u"folder")
            work.makeFolder(QStringLiteral("saved_img/SR_1.txt"));
        // A small chart with a long legend, so that the disk fills up between the two.
        const QImage picture = patternPicture().copy(0, 0, 8, 8);
        const QStringList lines(200, QStringLiteral("a line of the legend"));
        charts::ExportedChart exported;
        {
            std::optional<testing::FileSizeLimit> diskFull;
            if (blocker == u"full")
                diskFull.emplace(1024);
            exported = exportOnce(QStringLiteral("SR_"), picture, lines);
        }

        QCOMPARE(exported.bitmap, programName(QStringLiteral("saved_img/SR_1.bmp")));
        QVERIFY(exported.legend.isEmpty());
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
        QTest::addColumn<QString>("bitmap");
        QTest::addColumn<QString>("legend");
        QTest::newRow("bitmap name, link pointing nowhere")
            << "SR_1.bmp"
            << "made.bmp" << programName(QStringLiteral("saved_img/SR_2.bmp"))
            << programName(QStringLiteral("saved_img/SR_2.txt"));
        QTest::newRow("legend name, link to a file")
            << "SR_1.txt"
            << "kept.txt" << programName(QStringLiteral("saved_img/SR_1.bmp")) << QString();
    }
    void linksAreNotWrittenThrough() {
        QFETCH(QString, link);
        QFETCH(QString, target);
        QFETCH(QString, bitmap);
        QFETCH(QString, legend);
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        work.writeFile(QStringLiteral("kept.txt"), "kept");
        QVERIFY(
            QFile::link(work.filePath(target), work.filePath(QStringLiteral("saved_img/") + link)));
        const charts::ExportedChart exported = exportOnce();

        QCOMPARE(exported.bitmap, bitmap);
        QCOMPARE(exported.legend, legend);
        QVERIFY(ui::MessageBox::takeRecorded().isEmpty());
        QCOMPARE(work.readFile(QStringLiteral("kept.txt")), QByteArray("kept"));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("made.bmp"))));
    }

    void emptyChartIsNotSaved() {
        testing::TempWorkDir work;
        work.makeFolder(QStringLiteral("saved_img"));
        const charts::ExportedChart exported = exportOnce(QStringLiteral("SR_"), QImage());
        QCOMPARE(ui::MessageBox::takeRecorded(),
                 QStringList{QStringLiteral("Bitmap image is not valid")});
        QVERIFY(exported.bitmap.isEmpty());
        QCOMPARE(QDir(work.filePath(QStringLiteral("saved_img"))).entryList(QDir::Files),
                 QStringList());
    }
};

QTEST_MAIN(TestExportChart)
#include "test_export_chart.moc"
