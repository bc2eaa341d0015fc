// Reading scanned answer sheets: a set of synthetic scans of every kind a class brings (pens,
// marks, scanners, phone photos), and the pages and files that must be refused with a reason.

#include "sheets/page_reader.h"
#include "sheets/scan_reader.h"
#include "sheets/sheet_page.h"
#include "tests/support/core_support.h"
#include "tests/support/scan_synth.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

using namespace testing;

namespace {

// The set: every sheet differs in its pen, its usual mark and the way it was scanned.
QList<ScanSetup> syntheticSet() {
    const MarkKind kinds[] = {MarkKind::Cross, MarkKind::Tick, MarkKind::Circle,
                              MarkKind::Blackened};
    const MarkInk inks[] = {MarkInk::Black, MarkInk::Blue, MarkInk::Pencil};
    QList<ScanSetup> set;
    for (int n = 0; n < 32; ++n) {
        ScanSetup s;
        s.seed = quint32(1000 + n);
        s.code.serial = quint32(500 + n);
        if (n % 5 == 1)
            s.code.subject =
                scoring::Subject{QStringLiteral("Иванова-Петрова"), QStringLiteral("Анна"),
                                 QStringLiteral("2"), QStringLiteral("ПС-21")};
        s.kind = kinds[n % 4];
        s.ink = inks[n % 3];
        // Larger than the page itself, a scan has no room left to turn or shift the sheet.
        s.scale = 0.95 + 0.01 * ((n * 5) % 11);
        s.rotation = s.scale > 1 ? (n % 3) - 1 : (n * 37) % 11 - 5; // degrees
        if (s.scale <= 1)
            s.shift = QPointF((n * 13) % 7 - 3, (n * 7) % 5 - 2); // millimetres
        s.noise = n % 2 == 0 ? 4 : 8;
        s.blur = n % 3 == 0 ? 0.15 : 0.0;
        s.jpegQuality = n % 4 == 2 ? 50 : -1;
        set.append(s);
    }
    set[3].dpi = 200;
    set[7].dpi = 300;
    set[11].dpi = 600;
    set[11].blur = 0.1;
    set[5].paper = 195, set[5].black = 45;  // a darker scan
    set[6].paper = 255, set[6].black = 105; // a lighter one
    set[9].upsideDown = true;
    set[13].photo = true, set[13].perspective = 8, set[13].dpi = 130;
    set[13].jpegQuality = 80;
    set[14].photo = true, set[14].perspective = 15, set[14].dpi = 110, set[14].rotation = 93;
    set[17].jpegQuality = 50, set[17].blur = 0.2;
    set[21].lidOpen = true;
    // A worn copier: grainy, blurred, grey paper, weak black, heavily compressed (its QR code
    // is read only smoothed).
    set[31].noise = 36, set[31].blur = 0.35, set[31].jpegQuality = 35;
    set[31].paper = 215, set[31].black = 30;
    return set;
}

struct Tally {
    int rows = 0, wrong = 0, clear = 0, clearDoubtful = 0, doubles = 0;
};

void tally(Tally& t, const QString& expected, const QString& read, const QString& sheet) {
    for (int i = 0; i < expected.size(); ++i) {
        ++t.rows;
        const QChar want = expected[i], got = read[i];
        if (want == u'?') {
            ++t.doubles;
            if (got != u'?') {
                ++t.wrong;
                qWarning("%s, item %d: two marks read as %c", qPrintable(sheet), i + 1,
                         got.toLatin1());
            }
            continue;
        }
        ++t.clear;
        if (got == u'?') {
            ++t.clearDoubtful;
            qInfo("%s, item %d: %c called doubtful", qPrintable(sheet), i + 1, want.toLatin1());
        } else if (got != want) {
            ++t.wrong;
            qWarning("%s, item %d: %c read as %c", qPrintable(sheet), i + 1, want.toLatin1(),
                     got.toLatin1());
        }
    }
}

QImage blankSheet(quint32 serial) {
    ScanSetup setup;
    setup.code.serial = serial;
    setup.blank = true;
    setup.noise = 3;
    return makeScan(setup).image;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A PDF as a copier makes it: one scanned picture a page.
void writePdf(const QString& path, const QList<QImage>& pages) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF());
    pdf.setResolution(150);
    QPainter painter(&pdf);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        painter.drawImage(QRect(QPoint(0, 0), QSize(pdf.width(), pdf.height())), pages[i]);
    }
}

// A page of the booklet: text, no corner marks, no code.
QImage bookletPage() {
    QImage page(1240, 1754, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter painter(&page);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 14));
    for (int line = 0; line < 40; ++line)
        painter.drawText(120, 150 + line * 38,
                         QStringLiteral("%1. Я люблю долгие прогулки в одиночестве. a) да b) "
                                        "не знаю c) нет")
                             .arg(line + 1));
    return page;
}

QImage noisePicture() {
    QImage picture(900, 700, QImage::Format_Grayscale8);
    quint32 state = 7;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            picture.scanLine(y)[x] = uchar(state >> 24);
        }
    }
    return picture;
}

// An answer sheet of another form: the same page, another form in its code.
QImage foreignForm() {
    ScanSetup setup;
    setup.code.form = QStringLiteral("DORVEL-A");
    setup.blank = true;
    return makeScan(setup).image;
}

} // namespace

class TestSheetsReading : public QObject {
    Q_OBJECT

private slots:
    void syntheticSetReadsWithoutWrongAnswers();
    void blankSheetReadsEmpty();
    void pagesRefused_data();
    void pagesRefused();
    void filesRefused_data();
    void filesRefused();
    void pdfPagesAndRepeatedSheet();
};

void TestSheetsReading::syntheticSetReadsWithoutWrongAnswers() {
    Tally t;
    const QList<ScanSetup> set = syntheticSet();
    for (qsizetype n = 0; n < set.size(); ++n) {
        const SyntheticScan scan = makeScan(set[n]);
        const sheets::PageReading reading = sheets::readSheetPage(scan.image);
        const QString sheet = QStringLiteral("sheet %1").arg(n);
        QVERIFY2(reading.error.isEmpty(), qPrintable(sheet + QStringLiteral(": ") + reading.error));
        QVERIFY(reading.code);
        QCOMPARE(reading.code->serial, set[n].code.serial);
        QCOMPARE(reading.code->subject.has_value(), set[n].code.subject.has_value());
        if (set[n].code.subject)
            QCOMPARE(reading.code->subject->surname, set[n].code.subject->surname);
        QCOMPARE(reading.answers.size(), 105);
        tally(t, scan.expected, reading.answers, sheet);
    }
    qInfo("%d sheets, %d rows: %d wrong, %d of %d clear rows doubtful (%.2f %%), %d doubles",
          int(set.size()), t.rows, t.wrong, t.clearDoubtful, t.clear,
          100.0 * t.clearDoubtful / t.clear, t.doubles);
    QCOMPARE(t.wrong, 0);
    QVERIFY(t.clearDoubtful * 100 <= t.clear);
    QVERIFY(t.doubles > 0);
}

void TestSheetsReading::blankSheetReadsEmpty() {
    const sheets::PageReading reading = sheets::readSheetPage(blankSheet(77));
    QCOMPARE(reading.error, QString());
    QCOMPARE(reading.answers, QString(105, u'-'));
    QCOMPARE(reading.code->serial, 77u);

    // The printed PDF itself, as the program writes it, reads the same.
    TempWorkDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF());
        QPainter painter(&pdf);
        painter.scale(pdf.logicalDpiX() / 25.4, pdf.logicalDpiY() / 25.4);
        sheets::SheetCode code;
        code.serial = 78;
        code.subject = scoring::Subject{QStringLiteral("Ёлкина"), QStringLiteral("Мария"),
                                        QStringLiteral("1"), QStringLiteral("Б-11")};
        sheets::drawAnswerSheet(painter, code);
    }
    const QList<sheets::ScanPage> pages = sheets::readScans({path});
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0].error, QString());
    QCOMPARE(pages[0].answers, QString(105, u'-'));
    QCOMPARE(pages[0].code->subject->surname, QStringLiteral("Ёлкина"));
}

void TestSheetsReading::pagesRefused_data() {
    QTest::addColumn<QImage>("page");
    QTest::addColumn<QString>("reason");
    QTest::newRow("booklet page") << bookletPage()
                                  << QStringLiteral("не найдены чёрные квадраты по углам");
    QTest::newRow("random picture")
        << noisePicture() << QStringLiteral("не найдены чёрные квадраты по углам");
    QTest::newRow("another form") << foreignForm()
                                  << QStringLiteral("это не бланк ответов «Тест Дорвела»");
    QTest::newRow("tiny picture") << QImage(40, 60, QImage::Format_Grayscale8)
                                  << QStringLiteral("изображение слишком мало");
}

void TestSheetsReading::pagesRefused() {
    QFETCH(QImage, page);
    QFETCH(QString, reason);
    const sheets::PageReading reading = sheets::readSheetPage(page);
    QVERIFY2(reading.error.contains(reason), qPrintable(reading.error));
    QVERIFY(reading.answers.isEmpty());
}

void TestSheetsReading::filesRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QByteArray jpeg = makeScan([] {
                          ScanSetup s;
                          s.jpegQuality = 70;
                          return s;
                      }())
                          .jpeg;
    QTest::newRow("cut-off JPEG") << jpeg.left(jpeg.size() / 3) << QStringLiteral("cut.jpg")
                                  << QStringLiteral("изображение повреждено");
    QTest::newRow("text file") << QByteArray("surname;first_name\n") << QStringLiteral("list.jpg")
                               << QStringLiteral("это не изображение и не PDF");
    QTest::newRow("broken PDF") << QByteArray("%PDF-1.4\n1 0 obj garbage")
                                << QStringLiteral("a.pdf") << QStringLiteral("PDF повреждён");
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("")
                                  << QStringLiteral("не найден");
}

void TestSheetsReading::filesRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    TempWorkDir dir;
    const QString path = dir.filePath(name.isEmpty() ? QStringLiteral("none.png") : name);
    if (!name.isEmpty())
        writeFile(path, bytes);
    const QList<sheets::ScanPage> pages = sheets::readScans({path});
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages[0].error.contains(reason), qPrintable(pages[0].error));
    QVERIFY(pages[0].answers.isEmpty());
}

void TestSheetsReading::pdfPagesAndRepeatedSheet() {
    TempWorkDir dir;
    ScanSetup first, second;
    first.seed = 1, first.code.serial = 11, first.rotation = 2;
    second.seed = 2, second.code.serial = 12, second.upsideDown = true,
    second.kind = MarkKind::Tick;
    const SyntheticScan a = makeScan(first), b = makeScan(second);
    writePdf(dir.filePath(QStringLiteral("stack.pdf")), {a.image, b.image});
    a.image.save(dir.filePath(QStringLiteral("again.tif")));

    QList<int> progress;
    const QList<sheets::ScanPage> pages = sheets::readScans(
        {dir.filePath(QStringLiteral("stack.pdf")), dir.filePath(QStringLiteral("again.tif"))},
        [&](int done, int total) { progress << done << total; });
    QCOMPARE(progress, (QList<int>{1, 3, 2, 3, 3, 3}));
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages[0].page, 1);
    QCOMPARE(pages[1].page, 2);
    for (int k = 0; k < 2; ++k) {
        const QString& expected = (k == 0 ? a : b).expected;
        QCOMPARE(pages[k].error, QString());
        Tally t;
        tally(t, expected, pages[k].answers, QStringLiteral("PDF page %1").arg(k + 1));
        QCOMPARE(t.wrong, 0);
        QVERIFY(!pages[k].aligned.isNull());
    }
    QVERIFY2(pages[2].error.contains(QStringLiteral("бланк № 11 уже прочитан")),
             qPrintable(pages[2].error));
    QVERIFY(pages[2].answers.isEmpty());

    // Another student's named sheet that happens to carry the same serial is not a repeat.
    ScanSetup named = first;
    named.code.subject = scoring::Subject{QStringLiteral("Ким"), QStringLiteral("Ли"), {}, {}};
    makeScan(named).image.save(dir.filePath(QStringLiteral("named.png")));
    const QList<sheets::ScanPage> both = sheets::readScans(
        {dir.filePath(QStringLiteral("again.tif")), dir.filePath(QStringLiteral("named.png"))});
    QCOMPARE(both.size(), 2);
    QCOMPARE(both[1].error, QString());

    // Cancelled after the first page: the rest is not read.
    int calls = 0;
    const QList<sheets::ScanPage> cut = sheets::readScans(
        {dir.filePath(QStringLiteral("stack.pdf"))}, {}, [&] { return calls++ > 0; });
    QCOMPARE(cut.size(), 1);
}

QTEST_MAIN(TestSheetsReading)
#include "test_sheets_reading.moc"
