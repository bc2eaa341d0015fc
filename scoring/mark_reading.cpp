#include "scoring/mark_reading.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace scoring {

namespace {

// Shares of a box and ratios to the sheet's own marks; no grey level is fixed here.
constexpr double kNoiseFloor = 0.004; // the least spread assumed for the empty boxes
constexpr double kEmptySpreads = 6.0; // an empty box stays within this many spreads
constexpr double kClearSpreads = 7.0; // a clear mark stands this many spreads above empty
constexpr double kClearFloor = 0.03;  // ... and at least this much darkness above it
constexpr double kMarkShare = 0.3;    // a mark has at least this share of a typical mark's ink
constexpr double kPeakShare = 0.5;    // ... and strokes at least this share as dark
constexpr double kExtentShare = 0.5;  // ... spanning at least this share as far
constexpr double kFilledCover = 0.7;  // a box this covered is blackened
constexpr double kPartlyFilled = 0.5; // between this and blackened: neither a mark nor filled

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

enum class Box { Empty, Faint, Small, Mark, Filled, PartlyFilled };

Box classify(const BoxInk& box, const PageInk& page) {
    if (box.ink <= page.emptyLimit())
        return Box::Empty;
    if (box.ink < page.markLimit() || box.peak < kPeakShare * page.markPeak)
        return Box::Faint;
    if (box.cover >= kFilledCover)
        return Box::Filled;
    if (box.cover >= kPartlyFilled)
        return Box::PartlyFilled;
    if (box.extent < kExtentShare * page.markExtent)
        return Box::Small;
    return Box::Mark;
}

RowReading doubtful(const char* reason) {
    return {'?', QString::fromUtf8(reason)};
}

} // namespace

// Between the two limits a box is neither surely empty nor surely marked: on a clean scan the
// noise limit is the lower one, on a noisy scan the share of a typical mark.
double PageInk::emptyLimit() const {
    const double noiseLimit = emptyInk + kEmptySpreads * noise;
    if (marks == 0)
        return noiseLimit;
    return std::min(noiseLimit, emptyInk + kMarkShare * (markInk - emptyInk));
}

double PageInk::markLimit() const {
    const double noiseLimit = emptyInk + kEmptySpreads * noise;
    if (marks == 0)
        return std::max(noiseLimit, emptyInk + std::max(kClearSpreads * noise, kClearFloor));
    return std::max(noiseLimit, emptyInk + kMarkShare * (markInk - emptyInk));
}

PageInk learnPageInk(const QList<RowInk>& rows) {
    std::vector<double> inks;
    for (const RowInk& row : rows) {
        for (const BoxInk& box : row)
            inks.push_back(box.ink);
    }
    // The empty boxes are most of the sheet's boxes and marks only ever add ink: the lighter
    // part of the boxes is empty ones, and a few rounds widen it to every box within reach of
    // their middle, so the marks never count in the empty boxes' level or spread.
    PageInk page;
    std::vector<double> near = inks;
    std::sort(near.begin(), near.end());
    near.resize(std::max<std::size_t>(1, near.size() * 6 / 10));
    for (int round = 0; round < 4; ++round) {
        page.emptyInk = median(near);
        std::vector<double> deviations;
        for (double ink : near)
            deviations.push_back(std::abs(ink - page.emptyInk));
        page.noise = std::max(1.4826 * median(deviations), kNoiseFloor);
        near.clear();
        for (double ink : inks) {
            if (ink <= page.emptyInk + 4 * page.noise)
                near.push_back(ink);
        }
    }

    // The clear marks teach what a mark of this sheet looks like: its ink (crosses, ticks and
    // circles; blackened boxes only when there is nothing else) and its strokes' darkness.
    const double clear = page.emptyInk + std::max(kClearSpreads * page.noise, kClearFloor);
    std::vector<double> markInks, filledInks, peaks, extents;
    for (const RowInk& row : rows) {
        for (const BoxInk& box : row) {
            if (box.ink < clear)
                continue;
            const bool blackened = box.cover >= kFilledCover;
            (blackened ? filledInks : markInks).push_back(box.ink);
            if (!blackened)
                extents.push_back(box.extent);
            peaks.push_back(box.peak);
        }
    }
    page.marks = int(peaks.size());
    page.markInk = markInks.empty() ? median(filledInks) : median(markInks);
    page.markPeak = median(peaks);
    page.markExtent = median(extents);
    return page;
}

RowReading readRow(const RowInk& row, const PageInk& page) {
    int marked = -1;
    int filled = -1;
    int marks = 0;
    int filledBoxes = 0;
    for (int option = 0; option < 3; ++option) {
        switch (classify(row[std::size_t(option)], page)) {
        case Box::Empty:
            break;
        case Box::Faint:
            return doubtful("слабая или стёртая отметка");
        case Box::PartlyFilled:
            return doubtful("поле закрашено не полностью");
        case Box::Small:
            return doubtful("отметка не похожа на другие отметки листа");
        case Box::Mark:
            marked = option;
            ++marks;
            break;
        case Box::Filled:
            filled = option;
            ++filledBoxes;
            break;
        }
    }
    if (marks > 1)
        return doubtful("больше одной отметки");
    if (filledBoxes > 1)
        return doubtful("больше одного закрашенного поля");
    // One blackened box beside a mark is an answer taken back; alone it is the answer.
    const int answer = marks == 1 ? marked : filled;
    if (answer < 0)
        return {};
    return {char('a' + answer), {}};
}

QList<RowReading> readRows(const QList<RowInk>& rows) {
    const PageInk page = learnPageInk(rows);
    QList<RowReading> readings;
    readings.reserve(rows.size());
    for (const RowInk& row : rows)
        readings.append(readRow(row, page));
    return readings;
}

} // namespace scoring
