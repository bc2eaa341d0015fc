#include "sheets/booklet.h"

#include "graphics/texts.h"
#include "scoring/types.h"
#include "sheets/print_materials.h"
#include "sheets/print_text.h"

#include <QPainter>
#include <functional>

namespace sheets {

namespace {

// A4 with margins wide enough for a hand holding the booklet.
constexpr double kLeft = 20.0;
constexpr double kWidth = 170.0;
constexpr double kTop = 22.0;
constexpr double kBottom = 277.0;
constexpr double kNumberWidth = 12.0; // the statement's number stands left of its text
constexpr double kItemGap = 5.0;

// Read at arm's length: statements 13 points, answers 12, the instructions 12.
const TextStyle kTitle{7.0, true};
const TextStyle kHeading{5.6, true};
const TextStyle kInstruction{4.25};
const TextStyle kNotice{4.25, true};
const TextStyle kStatement{4.6};
const TextStyle kNumber{4.6, true};
const TextStyle kAnswer{4.25};
const TextStyle kPageLine{3.2, false, QColor(90, 90, 90)};

// A piece of the booklet that stays on one page: its height, and how to paint it at a top.
struct Block {
    double height;
    std::function<void(QPainter&, double top)> paint;
    bool newPage = false; // starts a page of its own
};

Block paragraph(const TextStyle& style, const QString& text, double after) {
    const double height = drawParagraph(nullptr, {}, kWidth, style, text);
    return {height + after, [style, text](QPainter& painter, double top) {
                drawParagraph(&painter, QPointF(kLeft, top), kWidth, style, text);
            }};
}

// The three answers on one line when they fit, else one under the other.
Block statementBlock(int number, const scoring::QuestionnaireItem& item) {
    const double textLeft = kLeft + kNumberWidth;
    const double textWidth = kWidth - kNumberWidth;
    const QString answers[] = {QStringLiteral("a) ") + item.a, QStringLiteral("b) ") + item.b,
                               QStringLiteral("c) ") + item.c};
    const double gap = 8.0;
    double oneLine = 2 * gap;
    for (const QString& answer : answers)
        oneLine += sheets::textWidth(kAnswer, answer);
    const bool together = oneLine <= textWidth;

    const double statementHeight =
        drawParagraph(nullptr, {}, textWidth, kStatement, item.statement);
    double answersHeight = 0;
    if (together) {
        answersHeight = drawParagraph(nullptr, {}, textWidth, kAnswer, answers[0]);
    } else {
        for (const QString& answer : answers)
            answersHeight += drawParagraph(nullptr, {}, textWidth - 4, kAnswer, answer);
    }
    const double height = statementHeight + 1.0 + answersHeight + kItemGap;
    return {
        height, [=](QPainter& painter, double top) {
            drawTextLine(painter, QRectF(kLeft, top, kNumberWidth - 2, kNumber.size * 1.25),
                         kNumber, QString::number(number) + u'.', Qt::AlignRight | Qt::AlignTop);
            drawParagraph(&painter, QPointF(textLeft, top), textWidth, kStatement, item.statement);
            double y = top + statementHeight + 1.0;
            double x = textLeft + 4;
            for (const QString& answer : answers) {
                const double h =
                    drawParagraph(&painter, QPointF(x, y), textWidth - 4, kAnswer, answer);
                if (together)
                    x += sheets::textWidth(kAnswer, answer) + gap;
                else
                    y += h;
            }
        }};
}

QList<Block> bookletBlocks(const BookletText& text) {
    QList<Block> blocks;
    blocks.append({14.0, [](QPainter& painter, double top) {
                       drawTextLine(painter, QRectF(kLeft, top, kWidth, 10), kTitle,
                                    QStringLiteral("Тест Дорвела"), Qt::AlignLeft | Qt::AlignTop);
                   }});
    blocks.append(paragraph(kInstruction,
                            QStringLiteral("Опросник, форма C: 105 утверждений. Буклет для "
                                           "ответов на бланке."),
                            8.0));
    blocks.append({10.0, [](QPainter& painter, double top) {
                       drawTextLine(painter, QRectF(kLeft, top, kWidth, 8), kHeading,
                                    QStringLiteral("Инструкция"), Qt::AlignLeft | Qt::AlignTop);
                   }});
    for (const QString& line : text.instructions.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            blocks.append(paragraph(kInstruction, line.trimmed(), 2.5));
    }
    blocks.append(paragraph(
        kNotice,
        QStringLiteral("Ответы отмечайте только на бланке ответов: крестик в клетке a, b или c "
                       "в строке с номером утверждения. Не делайте пометок в буклете: по нему "
                       "будут отвечать и другие."),
        0.0));
    for (qsizetype k = 0; k < text.items.size(); ++k) {
        Block block = statementBlock(int(k + 1), text.items[k]);
        block.newPage = k == 0;
        blocks.append(block);
    }
    blocks.append(paragraph(kNotice,
                            QStringLiteral("Конец. Проверьте, что в каждой из 105 строк бланка "
                                           "отмечен один ответ, и сдайте бланк и буклет."),
                            0.0));
    return blocks;
}

// Each block's page and top, blocks never split across pages.
struct Placed {
    int page;
    double top;
};

QList<Placed> placeBlocks(const QList<Block>& blocks, int& pages) {
    QList<Placed> placed;
    int page = 0;
    double top = kTop;
    for (const Block& block : blocks) {
        if (block.newPage || top + block.height > kBottom + kItemGap) {
            if (top > kTop || block.newPage)
                ++page;
            top = kTop;
        }
        placed.append({page, top});
        top += block.height;
    }
    pages = page + 1;
    return placed;
}

} // namespace

BookletText loadBookletText() {
    BookletText text;
    // The instructions the test window shows.
    text.instructions = graphics::resourceText(QStringLiteral("instruction.txt"));
    scoring::QuestionnaireReader reader;
    reader.open();
    for (int k = 0; k < scoring::kItems; ++k)
        text.items.append(reader.readItem());
    reader.close();
    return text;
}

bool paintBooklet(QPagedPaintDevice& device, const BookletText& text) {
    const QList<Block> blocks = bookletBlocks(text);
    int pages = 0;
    const QList<Placed> placed = placeBlocks(blocks, pages);
    return paintPages(device, pages, [&](QPainter& painter, int page) {
        painter.setRenderHint(QPainter::Antialiasing);
        drawTextLine(painter, QRectF(kLeft, 10, kWidth, 5), kPageLine,
                     QStringLiteral("Тест Дорвела · не делайте пометок в буклете"),
                     Qt::AlignLeft | Qt::AlignVCenter);
        drawTextLine(painter, QRectF(kLeft, 284, kWidth, 5), kPageLine,
                     QStringLiteral("стр. %1 из %2").arg(page + 1).arg(pages), Qt::AlignCenter);
        for (qsizetype k = 0; k < blocks.size(); ++k) {
            if (placed[k].page == page)
                blocks[k].paint(painter, placed[k].top);
        }
    });
}

void writeBooklet(const QString& pdfPath, const BookletText& text) {
    writePdf(pdfPath, QStringLiteral("Тест Дорвела: буклет"),
             [&text](QPagedPaintDevice& device) { return paintBooklet(device, text); });
}

} // namespace sheets
