#include "tests/support/scan_synth.h"

#include "scoring/types.h"
#include "sheets/sheet_layout.h"
#include "sheets/sheet_page.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace testing {

namespace {

constexpr double kMmPerInch = 25.4;

// Deterministic on every platform: only the engine's raw numbers are used.
class Dice {
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    double uniform(double low, double high) {
        return low + (high - low) * double(m_engine()) / 4294967296.0;
    }
    int below(int n) { return int(m_engine() % quint32(n)); }
    quint32 raw() { return quint32(m_engine()); }

private:
    std::mt19937 m_engine;
};

QColor inkColour(MarkInk ink) {
    switch (ink) {
    case MarkInk::Blue:
        return QColor(35, 55, 175);
    case MarkInk::Pencil:
        return QColor(125, 125, 130);
    case MarkInk::Black:
        break;
    }
    return QColor(25, 25, 30);
}

// One hand-drawn mark in a box (millimetres), a little different every time.
void drawMark(QPainter& painter, const QRectF& box, MarkKind kind, const QColor& colour,
              Dice& dice) {
    const auto jitter = [&](double x, double y) {
        return box.topLeft() +
               QPointF(x + dice.uniform(-0.35, 0.35), y + dice.uniform(-0.35, 0.35));
    };
    const double w = box.width();
    QPen pen(colour, dice.uniform(0.4, 0.6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (kind) {
    case MarkKind::Cross:
        painter.drawLine(jitter(0.9, 0.9), jitter(w - 0.9, w - 0.9));
        painter.drawLine(jitter(w - 0.9, 0.9), jitter(0.9, w - 0.9));
        break;
    case MarkKind::Tick: {
        const QPointF points[] = {jitter(1.1, 0.55 * w), jitter(0.4 * w, w - 1.0),
                                  jitter(w - 0.9, 1.0)};
        painter.drawPolyline(points, 3);
        break;
    }
    case MarkKind::Circle: {
        const double r = dice.uniform(1.9, 2.3);
        painter.drawEllipse(jitter(w / 2, w / 2), r, r * dice.uniform(0.85, 1.0));
        break;
    }
    case MarkKind::Blackened:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(box.adjusted(dice.uniform(-0.3, 0.05), dice.uniform(-0.3, 0.05),
                                      dice.uniform(-0.05, 0.3), dice.uniform(-0.05, 0.3)));
        break;
    }
}

MarkKind otherKind(MarkKind usual, Dice& dice) {
    const MarkKind kinds[] = {MarkKind::Cross, MarkKind::Tick, MarkKind::Circle};
    MarkKind kind = kinds[dice.below(3)];
    return kind == usual ? MarkKind::Cross : kind;
}

// Marks every row and returns what a reader must find.
QString markRows(QPainter& painter, const ScanSetup& setup, Dice& dice) {
    const sheets::SheetLayout& layout = sheets::sheetLayout();
    const QColor colour = inkColour(setup.ink);
    QString expected;
    for (int item = 1; item <= scoring::kItems; ++item) {
        const int roll = dice.below(100);
        const int chosen = dice.below(3);
        const auto box = [&](int k) { return layout.box(item, char('a' + k)); };
        const MarkKind kind = dice.below(100) < 85 ? setup.kind : otherKind(setup.kind, dice);
        if (setup.blank || roll < 5) {
            expected += u'-';
        } else if (roll < 11) {
            // An answer taken back: the box blackened, a cross in another.
            const int cancelled = (chosen + 1 + dice.below(2)) % 3;
            drawMark(painter, box(cancelled), MarkKind::Blackened, colour, dice);
            drawMark(painter, box(chosen), kind == MarkKind::Blackened ? MarkKind::Cross : kind,
                     colour, dice);
            expected += QChar::fromLatin1(char('a' + chosen));
        } else if (roll < 14) {
            const int second = (chosen + 1 + dice.below(2)) % 3;
            drawMark(painter, box(chosen), kind, colour, dice);
            drawMark(painter, box(second), kind, colour, dice);
            expected += u'?';
        } else {
            drawMark(painter, box(chosen), kind, colour, dice);
            expected += QChar::fromLatin1(char('a' + chosen));
        }
    }
    return expected;
}

// Millimetres of the sheet to pixels of the picture: scaled, turned and shifted about the
// page's centre, then the corners pulled apart as a camera held at a slant does.
QTransform sheetToPicture(const ScanSetup& setup, const QSizeF& picture, double perMm, Dice& dice) {
    const QSizeF page = sheets::sheetLayout().page;
    QTransform placed;
    placed.translate(picture.width() / 2 + setup.shift.x() * perMm,
                     picture.height() / 2 + setup.shift.y() * perMm);
    placed.rotate(setup.rotation + (setup.upsideDown ? 180 : 0));
    placed.scale(perMm * setup.scale, perMm * setup.scale);
    placed.translate(-page.width() / 2, -page.height() / 2);
    const QPolygonF corners(QRectF(QPointF(0, 0), page));
    QPolygonF seen = placed.map(corners);
    seen.removeLast(); // QPolygonF(QRectF) closes itself
    for (QPointF& corner : seen)
        corner += QPointF(dice.uniform(-1, 1), dice.uniform(-1, 1)) * setup.perspective * perMm;
    QPolygonF pageCorners = corners;
    pageCorners.removeLast();
    QTransform result;
    QTransform::quadToQuad(pageCorners, seen, result);
    return result;
}

// A separable box blur, run twice (close to a Gaussian).
void blur(QImage& grey, int radius) {
    if (radius < 1)
        return;
    const int w = grey.width(), h = grey.height();
    std::vector<int> line(std::size_t(std::max(w, h)));
    for (int pass = 0; pass < 4; ++pass) {
        const bool across = pass % 2 == 0;
        const int lines = across ? h : w, length = across ? w : h;
        for (int l = 0; l < lines; ++l) {
            const auto at = [&](int i) -> uchar& {
                return across ? grey.scanLine(l)[i] : grey.scanLine(i)[l];
            };
            for (int i = 0; i < length; ++i)
                line[std::size_t(i)] = at(i);
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += line[std::size_t(std::clamp(i, 0, length - 1))];
            for (int i = 0; i < length; ++i) {
                at(i) = uchar(sum / (2 * radius + 1));
                sum += line[std::size_t(std::min(i + radius + 1, length - 1))] -
                       line[std::size_t(std::max(i - radius, 0))];
            }
        }
    }
}

// The scanner's tones, the uneven light of a photo and the sensor's noise.
void tone(QImage& grey, const ScanSetup& setup, Dice& dice) {
    const int w = grey.width(), h = grey.height();
    for (int y = 0; y < h; ++y) {
        uchar* line = grey.scanLine(y);
        for (int x = 0; x < w; ++x) {
            double v = setup.black + (setup.paper - setup.black) * line[x] / 255.0;
            if (setup.photo)
                v *= 0.78 + 0.22 * (double(x) / w) * (1.0 - 0.3 * double(y) / h);
            if (setup.noise > 0) {
                const quint32 r = dice.raw();
                const int sum =
                    int(r & 255) + int((r >> 8) & 255) + int((r >> 16) & 255) + int(r >> 24);
                v += setup.noise * (sum - 510) / 147.8; // four uniforms: spread about 1
            }
            line[x] = uchar(std::clamp(std::lround(v), 0L, 255L));
        }
    }
}

} // namespace

SyntheticScan makeScan(const ScanSetup& setup) {
    Dice dice(setup.seed);
    const QSizeF page = sheets::sheetLayout().page;
    const double perMm = setup.dpi / kMmPerInch;
    // A scanner's glass is a little larger than the sheet; a photo frames the sheet on a desk.
    QSizeF size = (page + QSizeF(20, 20)) * perMm;
    if (setup.photo)
        size = QSizeF(page.height() * perMm * 1.05, page.height() * perMm * 1.4); // 3:4
    QImage picture(size.toSize(), QImage::Format_RGB32);
    picture.fill(setup.photo     ? QColor(105, 88, 70)
                 : setup.lidOpen ? QColor(12, 12, 12)
                                 : QColor(250, 250, 250));

    SyntheticScan scan;
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(sheetToPicture(setup, picture.size(), perMm, dice));
        sheets::drawAnswerSheet(painter, setup.code);
        scan.expected = markRows(painter, setup, dice);
    }
    QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    picture = QImage();
    blur(grey, int(std::lround(setup.blur * perMm / 2)));
    tone(grey, setup, dice);

    if (setup.jpegQuality >= 0) {
        QBuffer buffer(&scan.jpeg);
        buffer.open(QIODevice::WriteOnly);
        grey.save(&buffer, "JPEG", setup.jpegQuality);
        QBuffer saved(&scan.jpeg);
        QImageReader reader(&saved, "JPEG");
        QImageReader::setAllocationLimit(std::max(QImageReader::allocationLimit(), 512));
        grey = reader.read().convertToFormat(QImage::Format_Grayscale8);
    }
    scan.image = grey;
    return scan;
}

} // namespace testing
