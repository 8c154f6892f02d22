// Even-odd scanline coverage of a polygon, sampled at pixel centres.
#include <algorithm>
#include <cmath>

#include "pictel/raster.h"

namespace orvane {

namespace {

// Where the edges cross the horizontal line at height ys, in no order. An
// edge counts when ys lies in [min y, max y) of its ends, so a vertex
// shared by two edges is counted once and horizontal edges never.
void collectCrossings(std::span<const PixelPoint> points, double ys, std::vector<double>& crossings) {
    crossings.clear();
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const PixelPoint& p0 = points[i];
        const PixelPoint& p1 = points[(i + 1) % n];
        const double x0 = double(p0.x);
        const double y0 = double(p0.y);
        const double x1 = double(p1.x);
        const double y1 = double(p1.y);
        if ((y0 <= ys && ys < y1) || (y1 <= ys && ys < y0)) {
            crossings.push_back(x0 + (x1 - x0) * (ys - y0) / (y1 - y0));
        }
    }
}

}  // namespace

// Room for every crossing up front: runs() never allocates.
PolygonRows::PolygonRows(std::span<const PixelPoint> points) : points_(points) {
    crossings_.reserve(points.size());
    runs_.reserve(points.size() / 2 + 1);
}

std::span<const ColumnRun> PolygonRows::runs(int64_t row, int64_t left, int64_t right) {
    runs_.clear();
    if (points_.size() < 3) return runs_;
    collectCrossings(points_, double(row) + 0.5, crossings_);
    std::sort(crossings_.begin(), crossings_.end());
    // Pairs of crossings enclose the columns whose centres lie between them.
    for (size_t i = 0; i + 1 < crossings_.size(); i += 2) {
        const double first = std::max(std::ceil(crossings_[i] - 0.5), double(left));
        const double last = std::min(std::floor(crossings_[i + 1] - 0.5), double(right));
        if (first <= last) runs_.push_back(ColumnRun{int64_t(first), int64_t(last)});
    }
    return runs_;
}

void CoverageMask::reset(int64_t left, int64_t top, int64_t width, int64_t height) {
    left_ = left;
    top_ = top;
    wordsPerRow_ = (width + 63) / 64;
    words_.assign(size_t(wordsPerRow_) * size_t(height), 0);
}

void CoverageMask::cover(int64_t y, const ColumnRun& run) {
    uint64_t* row = words_.data() + size_t(y - top_) * size_t(wordsPerRow_);
    const uint64_t first = uint64_t(run.first - left_);
    const uint64_t last = uint64_t(run.last - left_);
    for (uint64_t word = first / 64; word <= last / 64; ++word) {
        const uint64_t from = word == first / 64 ? first % 64 : 0;
        const uint64_t to = word == last / 64 ? last % 64 : 63;
        // Bits from..to: all ones shifted clear of the bits below and above.
        row[word] |= (~uint64_t(0) >> (63 - to)) & (~uint64_t(0) << from);
    }
}

void polygonMask(std::span<const PixelPoint> points, int64_t left, int64_t top, int64_t width, int64_t height,
                 CoverageMask& mask) {
    mask.reset(left, top, width, height);
    PolygonRows rows(points);
    for (int64_t y = top; y < top + height; ++y) {
        for (const ColumnRun& run : rows.runs(y, left, left + width - 1)) mask.cover(y, run);
    }
}

}  // namespace orvane
