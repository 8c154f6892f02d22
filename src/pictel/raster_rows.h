#pragma once

// Row helpers shared by the circle and ellipse rasterisers.

#include <algorithm>
#include <cstdint>

#include "pictel/raster.h"

namespace orvane {

// The offsets dy in [-radius, radius] whose row cy + dy lies on the canvas:
// shapes far above or below cost nothing, however large the radius.
struct RowOffsets {
    int64_t first = 0;
    int64_t last = -1;
};

inline RowOffsets visibleRowOffsets(const Canvas& canvas, int32_t cy, int32_t radius) {
    return RowOffsets{std::max<int64_t>(-int64_t(radius), -int64_t(cy)),
                      std::min<int64_t>(radius, int64_t(canvas.height) - 1 - cy)};
}

// A ring's share of row y: the two spans between the inner and the outer
// half-width, [cx - outer, cx - inner - 1] and [cx + inner + 1, cx + outer].
inline void fillRingSpans(Canvas& canvas, int32_t cx, int64_t y, int64_t inner, int64_t outer, uint32_t pixel) {
    if (inner >= outer) return;
    fillSpan(canvas, int64_t(cx) - outer, int64_t(cx) - inner - 1, y, pixel);
    fillSpan(canvas, int64_t(cx) + inner + 1, int64_t(cx) + outer, y, pixel);
}

// trunc(v + 0.5) into 32 bits: for v >= 0 the nearest integer, halves up.
inline int32_t roundHalfUp(double v) { return int32_t(v + 0.5); }

}  // namespace orvane
