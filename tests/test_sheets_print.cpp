// The paper materials: the answer sheet's layout, its QR code, class lists, the booklet.

#include "platform/codepage.h"
#include "sheets/booklet.h"
#include "sheets/class_list.h"
#include "sheets/print_materials.h"
#include "sheets/qr_code.h"
#include "sheets/sheet_code.h"
#include "sheets/sheet_layout.h"
#include "tests/support/core_support.h"
#include "ui/printing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <ZXing/ReadBarcode.h>

using sheets::ClassListRow;

Q_DECLARE_METATYPE(std::optional<scoring::Subject>)

class TestSheetsPrint : public QObject {
    Q_OBJECT

private slots:
    // 315 boxes in item order, all on the page, none overlapping another box or the corner
    // marks, the QR code or the name area; the JSON says the same.
    void layout() {
        const sheets::SheetLayout& layout = sheets::sheetLayout();
        QCOMPARE(layout.boxes.size(), 315);
        const QRectF page(QPointF(0, 0), layout.page);
        QList<QRectF> others(layout.cornerMarks.begin(), layout.cornerMarks.end());
        others << layout.qrCode << layout.nameArea;
        for (const QRectF& other : others)
            QVERIFY(page.contains(other));
        for (qsizetype k = 0; k < layout.boxes.size(); ++k) {
            const sheets::AnswerBox& box = layout.boxes[k];
            QCOMPARE(box.item, int(k / 3 + 1));
            QCOMPARE(box.option, char('a' + k % 3));
            QVERIFY(page.contains(box.rect));
            QCOMPARE(layout.box(box.item, box.option), box.rect);
            for (qsizetype j = k + 1; j < layout.boxes.size(); ++j)
                QVERIFY2(!box.rect.intersects(layout.boxes[j].rect),
                         qPrintable(QString::number(k)));
            for (const QRectF& other : others)
                QVERIFY(!box.rect.intersects(other));
        }

        const QJsonObject json = QJsonDocument::fromJson(sheets::layoutJson()).object();
        QCOMPARE(json[QStringLiteral("page_mm")].toArray(), (QJsonArray{210, 297}));
        const QJsonArray boxes = json[QStringLiteral("boxes")].toArray();
        QCOMPARE(boxes.size(), 315);
        const QJsonObject last = boxes.last().toObject();
        const QRectF rect = layout.box(105, 'c');
        QCOMPARE(last[QStringLiteral("item")].toInt(), 105);
        QCOMPARE(last[QStringLiteral("option")].toString(), QStringLiteral("c"));
        QCOMPARE(QRectF(last[QStringLiteral("x_mm")].toDouble(),
                        last[QStringLiteral("y_mm")].toDouble(),
                        last[QStringLiteral("w_mm")].toDouble(),
                        last[QStringLiteral("h_mm")].toDouble()),
                 rect);
    }

    // The QR code's text read back by a barcode reader gives the code written: serial, form,
    // version and, on a named sheet, the names with the separator and '%' inside them.
    void qrRoundTrip_data() {
        QTest::addColumn<quint32>("serial");
        QTest::addColumn<std::optional<scoring::Subject>>("subject");
        QTest::newRow("blank") << 17u << std::optional<scoring::Subject>();
        QTest::newRow("named") << 999999u
                               << std::optional<scoring::Subject>(scoring::Subject{
                                      QStringLiteral("Щербакова-Ёлкина"),
                                      QStringLiteral("Анна;Мария"), QStringLiteral("5%"),
                                      QStringLiteral("ПС-21")});
    }
    void qrRoundTrip() {
        QFETCH(quint32, serial);
        QFETCH(std::optional<scoring::Subject>, subject);
        sheets::SheetCode code;
        code.serial = serial;
        code.subject = subject;

        const QImage modules = sheets::qrCodeModules(sheets::encodeSheetCode(code));
        QImage image(modules.width() * 4 + 32, modules.height() * 4 + 32,
                     QImage::Format_Grayscale8);
        image.fill(255);
        for (int y = 0; y < modules.height() * 4; ++y)
            for (int x = 0; x < modules.width() * 4; ++x)
                image.scanLine(y + 16)[x + 16] = modules.pixelColor(x / 4, y / 4).value();
        const ZXing::Result result =
            ZXing::ReadBarcode({image.constBits(), image.width(), image.height(),
                                ZXing::ImageFormat::Lum, int(image.bytesPerLine())},
                               ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
        QVERIFY(result.isValid());
        const std::optional<sheets::SheetCode> read =
            sheets::decodeSheetCode(QByteArray::fromStdString(result.text()));
        QVERIFY(read);
        QCOMPARE(read->form, QStringLiteral("DORVEL-C"));
        QCOMPARE(read->version, 1);
        QCOMPARE(read->serial, serial);
        QCOMPARE(read->subject.has_value(), subject.has_value());
        if (subject) {
            QCOMPARE(read->subject->surname, subject->surname);
            QCOMPARE(read->subject->firstName, subject->firstName);
            QCOMPARE(read->subject->course, subject->course);
            QCOMPARE(read->subject->group, subject->group);
        }
    }

    void foreignCodes_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("a web address") << QByteArray("https://example.org/");
        QTest::newRow("another form") << QByteArray("OTHER;1;5");
        QTest::newRow("no serial") << QByteArray("DORVEL-C;1;x");
        QTest::newRow("five fields") << QByteArray("DORVEL-C;1;5;Иванов;Пётр");
        QTest::newRow("bad escape") << QByteArray("DORVEL-C;1;5;Ив%4;Пётр;1;2");
    }
    void foreignCodes() {
        QFETCH(QByteArray, text);
        QVERIFY(!sheets::decodeSheetCode(text));
    }

    // Separators, encodings, the header in either language, quotes, and rows a record cannot
    // keep whole, each named with its reason.
    void classList_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // "surname|first|course|group|problem"
        const QString ivanov = QStringLiteral("Иванов|Пётр|1|ПС-21|");
        QTest::newRow("semicolons, UTF-8, Russian header")
            << QStringLiteral("фамилия;имя;курс;группа\r\nИванов;Пётр;1;ПС-21\r\n\r\n").toUtf8()
            << QStringList{ivanov};
        QTest::newRow("commas, code page 1251, English header")
            << platform::toCp1251(
                   QStringLiteral("surname,first_name,course,group\nИванов, Пётр ,1,ПС-21\n"))
            << QStringList{ivanov};
        QTest::newRow("empty columns after the fourth")
            << QStringLiteral("Фамилия;Имя;Курс;Группа;;\nИванов;Пётр;1;ПС-21;;\n").toUtf8()
            << QStringList{ivanov};
        QTest::newRow("UTF-8 with BOM, no header, quotes")
            << (QByteArray("\xEF\xBB\xBF") +
                QStringLiteral("\"Иванов\";Пётр;1;ПС-21\n\"Д\"\"Арк;Мари\";Жанна;;\n").toUtf8())
            << QStringList{ivanov, QStringLiteral("Д\"Арк;Мари|Жанна|||")};
        QTest::newRow("too long, not in the code page, too few fields")
            << QStringLiteral("Константинопольская-Северная;Мария;1;2\n"
                              "Иванов;Пётр;123456;2\nΣωκράτης;Пётр;1;2\nПетров;Иван\n")
                   .toUtf8()
            << QStringList{QStringLiteral("Константинопольская-Северная|Мария|1|2|поле «фамилия» "
                                          "длиннее 20 знаков"),
                           QStringLiteral("Иванов|Пётр|123456|2|поле «курс» длиннее 5 знаков"),
                           QStringLiteral("Σωκράτης|Пётр|1|2|в поле «фамилия» есть знак, "
                                          "которого нет в кодировке 1251"),
                           QStringLiteral("Петров|Иван|||полей 2, а нужно 4 (фамилия, имя, курс, "
                                          "группа)")};
        QTest::newRow("exactly 20 characters fit")
            << QStringLiteral("Абвгдежзийклмнопрсту;Абвгдежзийклмнопрсту;12345;12345\n").toUtf8()
            << QStringList{
                   QStringLiteral("Абвгдежзийклмнопрсту|Абвгдежзийклмнопрсту|12345|12345|")};
    }
    void classList() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QStringList parsed;
        for (const ClassListRow& row : sheets::parseClassList(bytes)) {
            parsed << QStringList{row.subject.surname, row.subject.firstName, row.subject.course,
                                  row.subject.group, row.problem}
                          .join(u'|');
        }
        QCOMPARE(parsed, rows);
    }

    // A row with a problem gets no sheet; the others are numbered on in the list's order.
    void namedSheets() {
        const QList<ClassListRow> rows = sheets::parseClassList(
            QStringLiteral("Иванов;Пётр;1;2\nКонстантинопольская-Северная;Мария;1;2\n"
                           "Сидорова;Анна;1;2\n")
                .toUtf8());
        const QList<sheets::SheetCode> codes = sheets::namedSheetCodes(rows, 40);
        QCOMPARE(codes.size(), 2);
        QCOMPARE(codes[1].serial, 41u);
        QCOMPARE(codes[1].subject->surname, QStringLiteral("Сидорова"));
        QCOMPARE(sheets::describeProblem(rows[1]),
                 QStringLiteral("строка 2 (Константинопольская-Северная Мария): поле «фамилия» "
                                "длиннее 20 знаков"));
    }

    // Printing goes through the program's printing support onto whole A4 pages, one a sheet.
    void printedSheets() {
        testing::TempWorkDir work;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(work.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(ui::printDocument(
            [](QPrinter& device) {
                return sheets::paintAnswerSheets(device, sheets::blankSheetCodes(2));
            },
            &printer));
        QProcess pdfinfo;
        pdfinfo.start(QStringLiteral("pdfinfo"), {printer.outputFileName()});
        QVERIFY(pdfinfo.waitForFinished(60000));
        const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    }

    // The booklet's text holds the instructions, the first and the last statement with their
    // answers, the warning against marks and the page numbers.
    void bookletText() {
        testing::TempWorkDir work;
        work.installProgramFolder();
        const sheets::BookletText text = sheets::loadBookletText();
        QCOMPARE(text.items.size(), 105);
        sheets::writeBooklet(work.filePath(QStringLiteral("booklet.pdf")), text);
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {work.filePath(QStringLiteral("booklet.pdf")), QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(60000));
        // Lines are wrapped on the page: compare with all white space as single spaces.
        const QString pdf = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        const QString instructions = text.instructions.split(u'\n').first().simplified();
        QVERIFY(pdf.contains(instructions.left(60)));
        QVERIFY(pdf.contains(QStringLiteral("не делайте пометок в буклете")));
        for (int item : {1, 105}) {
            const scoring::QuestionnaireItem& statement = text.items[item - 1];
            QVERIFY2(pdf.contains(QString::number(item) + QStringLiteral(". ") +
                                  statement.statement.simplified()),
                     qPrintable(statement.statement));
            QVERIFY(pdf.contains(QStringLiteral("c) ") + statement.c.simplified()));
        }
        QVERIFY(pdf.contains(QStringLiteral("стр. 1 из ")));
    }
};

QTEST_MAIN(TestSheetsPrint)
#include "test_sheets_print.moc"
