#include "render/font_fit.h"

#include <algorithm>

namespace orvane {

namespace {

// Candidate sizes smaller than this are raised before snugging.
constexpr int32_t kMinSnugCandidate = 32;
// Refits after the first; the cell size settles after one or two.
constexpr int32_t kSnugRounds = 4;

CellMetrics atLeastOnePixel(CellMetrics m) {
    return {std::max(m.width, 1), std::max(m.height, 1)};
}

}  // namespace

FontFit fitFont(FontMetricsSource& fonts, int32_t cols, int32_t rows, int32_t width,
                int32_t height) {
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    const int32_t availWidth = std::max(width - kGridBorder, cols);
    const int32_t availHeight = std::max(height - kGridBorder, rows);
    for (int32_t p = std::max(availHeight / rows, kMinFontPixelSize); p >= kMinFontPixelSize; --p) {
        const auto m = fonts.measureConsolas(p);
        if (!m) continue;
        if (int64_t(m->width) * cols <= availWidth && int64_t(m->height) * rows <= availHeight)
            return {p, atLeastOnePixel(*m)};
    }
    return {0, atLeastOnePixel(fonts.oemFixedMetrics())};
}

PixelSize snugGridSize(FontMetricsSource& fonts, int32_t cols, int32_t rows, PixelSize candidate) {
    PixelSize size{std::max(candidate.width, kMinSnugCandidate),
                   std::max(candidate.height, kMinSnugCandidate)};
    CellMetrics cell = fitFont(fonts, cols, rows, size.width, size.height).cell;
    for (int32_t round = 0; round < kSnugRounds; ++round) {
        size = {cols * cell.width + kGridBorder, rows * cell.height + kGridBorder};
        const CellMetrics next = fitFont(fonts, cols, rows, size.width, size.height).cell;
        if (next == cell) break;
        cell = next;
    }
    return size;
}

}  // namespace orvane
