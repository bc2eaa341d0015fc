#include "sheets/page_reader.h"

#include "scoring/mark_reading.h"
#include "scoring/types.h"
#include "sheets/sheet_layout.h"

#include <ZXing/ReadBarcode.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace sheets {

namespace {

// The page is straightened at this resolution for measuring the boxes (about 150 dpi).
constexpr double kMeasurePixelsPerMm = 6.0;
// The QR code is straightened on its own, finer.
constexpr double kQrPixelsPerMm = 8.0;
// The corner marks are looked for in a copy of the picture this long on its longer side.
constexpr int kSearchSide = 1100;
// A box's interior starts this far inside its printed outline.
constexpr double kInteriorMargin = 0.75;
// The paper beside a box is taken from a ring this far outside it.
constexpr double kRingInner = 0.6;
constexpr double kRingOuter = 1.3;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

cv::Mat matOf(const QImage& grey) {
    return cv::Mat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                   std::size_t(grey.bytesPerLine()));
}

// The grey level below which a share `share` of the pixels lies.
int percentile(const cv::Mat& grey, double share) {
    int histogram[256] = {};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* line = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x)
            ++histogram[line[x]];
    }
    const double wanted = share * double(grey.total());
    double seen = 0;
    for (int level = 0; level < 256; ++level) {
        seen += histogram[level];
        if (seen >= wanted)
            return level;
    }
    return 255;
}

struct Blob {
    cv::Point2d centre;
    double area = 0;
};

// Solid, roughly square dark blobs without holes: the corner marks are among them (the QR
// code's finder patterns have holes, text is too small or not solid).
std::vector<Blob> solidSquares(const cv::Mat& search) {
    // The contrast that makes a pixel dark against its surroundings is a share of the
    // picture's own range between its paper and its darkest parts.
    const int range = percentile(search, 0.95) - percentile(search, 0.02);
    const double offset = std::max(6.0, 0.3 * range);
    const int block = (std::max(search.cols, search.rows) / 12) | 1;
    cv::Mat dark;
    cv::adaptiveThreshold(search, dark, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          block, offset);
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(dark, contours, hierarchy, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);

    const double least = std::pow(std::max(search.cols, search.rows) / 160.0, 2);
    std::vector<Blob> blobs;
    for (std::size_t i = 0; i < contours.size(); ++i) {
        if (hierarchy[i][3] >= 0)
            continue;
        const double area = cv::contourArea(contours[i]);
        if (area < least)
            continue;
        double holes = 0;
        for (int child = hierarchy[i][2]; child >= 0; child = hierarchy[std::size_t(child)][0])
            holes += cv::contourArea(contours[std::size_t(child)]);
        if (holes > 0.05 * area)
            continue;
        const cv::RotatedRect box = cv::minAreaRect(contours[i]);
        const double longer = std::max(box.size.width, box.size.height);
        const double shorter = std::min(box.size.width, box.size.height);
        if (shorter < 0.6 * longer || area < 0.8 * double(box.size.area()))
            continue;
        const cv::Moments m = cv::moments(contours[i]);
        blobs.push_back({{m.m10 / m.m00, m.m01 / m.m00}, area});
    }
    return blobs;
}

// The four corner marks as the picture shows them: top-left, top-right, bottom-right,
// bottom-left of the picture (not yet of the sheet, which may lie turned).
std::optional<std::array<cv::Point2d, 4>> pictureCorners(std::vector<Blob> blobs,
                                                         const cv::Size& size) {
    if (blobs.empty())
        return std::nullopt;
    double largest = 0;
    for (const Blob& blob : blobs)
        largest = std::max(largest, blob.area);
    std::erase_if(blobs, [&](const Blob& blob) { return blob.area < 0.3 * largest; });
    if (blobs.size() < 4)
        return std::nullopt;
    const auto extreme = [&](auto score) {
        return std::max_element(
                   blobs.begin(), blobs.end(),
                   [&](const Blob& a, const Blob& b) { return score(a.centre) < score(b.centre); })
            ->centre;
    };
    const std::array<cv::Point2d, 4> corners = {extreme([](cv::Point2d p) { return -p.x - p.y; }),
                                                extreme([](cv::Point2d p) { return p.x - p.y; }),
                                                extreme([](cv::Point2d p) { return p.x + p.y; }),
                                                extreme([](cv::Point2d p) { return p.y - p.x; })};
    // A sheet, not a cluster of blobs: a convex quadrilateral over a fair part of the picture.
    std::vector<cv::Point2f> quad(corners.begin(), corners.end());
    if (!cv::isContourConvex(quad) ||
        cv::contourArea(quad) < 0.08 * double(size.width) * double(size.height))
        return std::nullopt;
    return corners;
}

cv::Point2d centreOf(const QRectF& rect) {
    return {rect.center().x(), rect.center().y()};
}

// The picture of the layout's rectangle `mm` at `perMm` pixels a millimetre, taken from the
// scan through `toScan` (millimetres to scan pixels).
cv::Mat straightened(const cv::Mat& scan, const cv::Matx33d& toScan, const QRectF& mm,
                     double perMm) {
    const cv::Matx33d fromPixels(1 / perMm, 0, mm.left() + 0.5 / perMm, 0, 1 / perMm,
                                 mm.top() + 0.5 / perMm, 0, 0, 1);
    cv::Mat out;
    cv::warpPerspective(
        scan, out, cv::Mat(toScan * fromPixels),
        cv::Size(int(std::lround(mm.width() * perMm)), int(std::lround(mm.height() * perMm))),
        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_REPLICATE);
    return out;
}

std::optional<QByteArray> qrTextAsIs(const cv::Mat& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    const ZXing::ImageView view(picture.data, picture.cols, picture.rows, ZXing::ImageFormat::Lum,
                                int(picture.step));
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    // Straightened the right way up, the code stands upright; a code read turned means the
    // sheet was taken the wrong way round.
    if (!result.isValid() || std::abs(result.orientation()) > 45)
        return std::nullopt;
    return QByteArray::fromStdString(result.text());
}

// A noisy or blurred code is read again smoothed and cut at its own middle grey.
std::optional<QByteArray> qrText(const cv::Mat& picture) {
    if (std::optional<QByteArray> text = qrTextAsIs(picture))
        return text;
    cv::Mat smooth, sharp;
    cv::GaussianBlur(picture, smooth, cv::Size(5, 5), 0);
    cv::threshold(smooth, sharp, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    return qrTextAsIs(sharp);
}

// Pixel bounds of a rectangle in millimetres on the measuring page.
cv::Rect pixelsOf(const QRectF& mm, const cv::Mat& page) {
    const auto at = [](double v) { return int(std::lround(v * kMeasurePixelsPerMm)); };
    const cv::Rect rect(cv::Point(at(mm.left()), at(mm.top())),
                        cv::Point(at(mm.right()), at(mm.bottom())));
    return rect & cv::Rect(0, 0, page.cols, page.rows);
}

// The ink inside a box, against the paper just around it and the page's printed black.
scoring::BoxInk measureBox(const cv::Mat& page, const QRectF& box, double black) {
    const cv::Rect outer =
        pixelsOf(box.adjusted(-kRingOuter, -kRingOuter, kRingOuter, kRingOuter), page);
    const cv::Rect inner =
        pixelsOf(box.adjusted(-kRingInner, -kRingInner, kRingInner, kRingInner), page);
    std::vector<uchar> ring;
    for (int y = outer.y; y < outer.y + outer.height; ++y) {
        const uchar* line = page.ptr<uchar>(y);
        for (int x = outer.x; x < outer.x + outer.width; ++x) {
            if (!inner.contains(cv::Point(x, y)))
                ring.push_back(line[x]);
        }
    }
    scoring::BoxInk ink;
    if (ring.empty())
        return ink;
    // The paper is the ring's lighter part: a mark reaching out of the box darkens only some.
    const auto paperAt = ring.begin() + std::ptrdiff_t(ring.size() * 8 / 10);
    std::nth_element(ring.begin(), paperAt, ring.end());
    const double paper = *paperAt;
    const double range = std::max(paper - black, 1.0);

    const cv::Rect interior = pixelsOf(
        box.adjusted(kInteriorMargin, kInteriorMargin, -kInteriorMargin, -kInteriorMargin), page);
    if (interior.empty())
        return ink;
    cv::Mat darkness(interior.size(), CV_64F);
    std::vector<double> values;
    values.reserve(interior.area());
    for (int y = 0; y < interior.height; ++y) {
        const uchar* line = page.ptr<uchar>(interior.y + y);
        double* out = darkness.ptr<double>(y);
        for (int x = 0; x < interior.width; ++x) {
            out[x] = std::clamp((paper - line[interior.x + x]) / range, 0.0, 1.0);
            values.push_back(out[x]);
            ink.ink += out[x];
        }
    }
    ink.ink /= double(values.size());
    const auto peakAt = values.begin() + std::ptrdiff_t(values.size() * 97 / 100);
    std::nth_element(values.begin(), peakAt, values.end());
    ink.peak = *peakAt;

    // The strokes: pixels darker than half the box's own strokes; their span across and down.
    const double half = ink.peak / 2;
    std::vector<int> columns(std::size_t(interior.width)), rows(std::size_t(interior.height));
    int covered = 0;
    for (int y = 0; y < interior.height; ++y) {
        const double* line = darkness.ptr<double>(y);
        for (int x = 0; x < interior.width; ++x) {
            if (line[x] >= half && line[x] > 0) {
                ++covered;
                ++columns[std::size_t(x)];
                ++rows[std::size_t(y)];
            }
        }
    }
    ink.cover = double(covered) / double(values.size());
    const auto span = [](const std::vector<int>& counts) {
        int first = -1, last = -1;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            if (counts[i] >= 2) {
                first = first < 0 ? int(i) : first;
                last = int(i);
            }
        }
        return first < 0 ? 0.0 : double(last - first + 1) / double(counts.size());
    };
    ink.extent = std::max(span(columns), span(rows));
    return ink;
}

// The printed black: the middle of the corner marks.
double printedBlack(const cv::Mat& page) {
    std::vector<uchar> values;
    for (const QRectF& mark : sheetLayout().cornerMarks) {
        const cv::Rect rect = pixelsOf(mark.adjusted(1.5, 1.5, -1.5, -1.5), page);
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            const uchar* line = page.ptr<uchar>(y);
            values.insert(values.end(), line + rect.x, line + rect.x + rect.width);
        }
    }
    if (values.empty())
        return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

std::vector<uchar> pixelsIn(const cv::Mat& page, const QRectF& mm, const QRectF& hole = {}) {
    const cv::Rect rect = pixelsOf(mm, page);
    const cv::Rect inner = hole.isNull() ? cv::Rect() : pixelsOf(hole, page);
    std::vector<uchar> values;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        const uchar* line = page.ptr<uchar>(y);
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            if (!inner.contains(cv::Point(x, y)))
                values.push_back(line[x]);
        }
    }
    return values;
}

int valueAt(std::vector<uchar> values, double share) {
    if (values.empty())
        return 0;
    const auto at = values.begin() + std::ptrdiff_t(double(values.size() - 1) * share);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// The straightened page has its four corner marks where the layout puts them: each dark
// through and through, with clean paper round it. A mark cut off by the scan's edge or
// covered, or a page straightened from the wrong blobs, fails this.
bool cornerMarksInPlace(const cv::Mat& page) {
    for (const QRectF& mark : sheetLayout().cornerMarks) {
        const int dark = valueAt(pixelsIn(page, mark.adjusted(1, 1, -1, -1)), 0.9);
        const QRectF around = mark.adjusted(-2.5, -2.5, 2.5, 2.5);
        const std::vector<uchar> ring = pixelsIn(page, around, mark.adjusted(-1, -1, 1, 1));
        const int paper = valueAt(ring, 0.5);
        const int shadow = valueAt(ring, 0.05);
        if (paper - dark < 0.25 * paper || shadow - dark < 0.6 * (paper - dark))
            return false;
    }
    return true;
}

QImage imageOf(const cv::Mat& grey) {
    QImage image(grey.cols, grey.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.rows; ++y)
        std::copy_n(grey.ptr<uchar>(y), grey.cols, image.scanLine(y));
    return image;
}

void readRows(const cv::Mat& page, PageReading& reading) {
    const SheetLayout& layout = sheetLayout();
    const double black = printedBlack(page);
    QList<scoring::RowInk> rows;
    rows.reserve(scoring::kItems);
    for (int item = 1; item <= scoring::kItems; ++item) {
        scoring::RowInk row;
        for (int k = 0; k < scoring::kAnswers; ++k)
            row[std::size_t(k)] = measureBox(page, layout.box(item, char('a' + k)), black);
        rows.append(row);
    }
    const QList<scoring::RowReading> readings = scoring::readRows(rows);
    reading.answers.reserve(scoring::kItems);
    for (int item = 1; item <= scoring::kItems; ++item) {
        const scoring::RowReading& row = readings[item - 1];
        reading.answers += QChar::fromLatin1(row.answer);
        if (row.answer == '?') {
            reading.doubtful.append(item);
            reading.doubtReasons.append(row.reason);
        }
    }
}

} // namespace

PageReading readSheetPage(const QImage& page) {
    PageReading reading;
    const SheetLayout& layout = sheetLayout();
    if (page.isNull() || std::min(page.width(), page.height()) < 200) {
        reading.error = text("изображение слишком мало для бланка");
        return reading;
    }
    const QImage grey = page.format() == QImage::Format_Grayscale8
                            ? page
                            : page.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat scan = matOf(grey);

    const double shrink = double(kSearchSide) / std::max(scan.cols, scan.rows);
    cv::Mat search;
    if (shrink < 1)
        cv::resize(scan, search, cv::Size(), shrink, shrink, cv::INTER_AREA);
    else
        search = scan;
    const double factor = std::min(shrink, 1.0);
    const std::optional<std::array<cv::Point2d, 4>> found =
        pictureCorners(solidSquares(search), search.size());
    if (!found) {
        reading.error = text("на странице не найдены чёрные квадраты по углам бланка ответов");
        return reading;
    }
    std::array<cv::Point2f, 4> corners;
    for (std::size_t i = 0; i < 4; ++i) {
        const cv::Point2d p = (*found)[i];
        corners[i] =
            cv::Point2f(float((p.x + 0.5) / factor - 0.5), float((p.y + 0.5) / factor - 0.5));
    }

    // The sheet is upright or upside down when the picture's top edge is its shorter side,
    // and lies on its side otherwise; the QR code, read only the right way up, decides.
    std::array<cv::Point2f, 4> marks;
    for (std::size_t i = 0; i < 4; ++i) {
        const cv::Point2d c = centreOf(layout.cornerMarks[i]);
        marks[i] = cv::Point2f(float(c.x), float(c.y));
    }
    const bool upright = cv::norm(corners[0] - corners[1]) <= cv::norm(corners[1] - corners[2]);
    const QRectF qrPlace = layout.qrCode.adjusted(-2, -2, 2, 2);
    std::optional<QByteArray> qr;
    cv::Matx33d toScan;
    for (int turn : {upright ? 0 : 1, upright ? 2 : 3}) {
        std::array<cv::Point2f, 4> seen;
        for (std::size_t i = 0; i < 4; ++i)
            seen[i] = corners[(i + std::size_t(turn)) % 4];
        toScan = cv::getPerspectiveTransform(marks.data(), seen.data());
        qr = qrText(straightened(scan, toScan, qrPlace, kQrPixelsPerMm));
        if (qr)
            break;
    }
    if (!qr) {
        reading.error = text("QR-код бланка не прочитан: это не бланк ответов или он повреждён");
        return reading;
    }
    const std::optional<SheetCode> code = decodeSheetCode(*qr);
    if (!code || code->form != kSheetForm) {
        reading.error = text("это не бланк ответов «Тест Дорвела»");
        return reading;
    }
    if (code->version != kSheetVersion) {
        reading.error = text("бланк другой версии (%1), эта программа читает версию %2")
                            .arg(code->version)
                            .arg(kSheetVersion);
        return reading;
    }
    const cv::Mat measured =
        straightened(scan, toScan, QRectF(QPointF(0, 0), layout.page), kMeasurePixelsPerMm);
    if (!cornerMarksInPlace(measured)) {
        reading.error = text("чёрные квадраты по углам бланка видны не все: угол обрезан при "
                             "сканировании или закрыт");
        return reading;
    }
    reading.code = code;
    readRows(measured, reading);
    cv::Mat review;
    cv::resize(measured, review, cv::Size(), kAlignedPixelsPerMm / kMeasurePixelsPerMm,
               kAlignedPixelsPerMm / kMeasurePixelsPerMm, cv::INTER_AREA);
    reading.aligned = imageOf(review);
    return reading;
}

} // namespace sheets
