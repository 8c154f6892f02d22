// Filled circles and circle outlines.
#include <cmath>
#include <cstdlib>

#include "pictel/raster.h"
#include "pictel/raster_rows.h"

namespace orvane {

namespace {

bool drawableRadius(int32_t r) { return r >= 0 && r <= kMaxRadius; }

// Half the width of the circle of radius r on the row dy from its centre.
int32_t halfWidth(int32_t r, int64_t dy) {
    const int64_t r2 = int64_t(r) * r;
    return roundHalfUp(std::sqrt(double(r2 - dy * dy)));
}

void midpointCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, uint32_t pixel) {
    const int64_t x0 = cx;
    const int64_t y0 = cy;
    int64_t x = r;
    int64_t y = 0;
    int64_t d = 1 - int64_t(r);
    do {
        setPixel(canvas, x0 + x, y0 + y, pixel);
        setPixel(canvas, x0 - x, y0 + y, pixel);
        setPixel(canvas, x0 + x, y0 - y, pixel);
        setPixel(canvas, x0 - x, y0 - y, pixel);
        setPixel(canvas, x0 + y, y0 + x, pixel);
        setPixel(canvas, x0 - y, y0 + x, pixel);
        setPixel(canvas, x0 + y, y0 - x, pixel);
        setPixel(canvas, x0 - y, y0 - x, pixel);
        ++y;
        if (d < 0) {
            d += 2 * y + 1;
        } else {
            --x;
            d += 2 * (y - x) + 1;
        }
    } while (x >= y);
}

// A ring from radius r inwards to the circle of radius ri = r - t, ri >= 0.
void thickCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, int32_t ri, uint32_t pixel) {
    const RowOffsets rows = visibleRowOffsets(canvas, cy, r);
    for (int64_t dy = rows.first; dy <= rows.last; ++dy) {
        const int32_t xo = halfWidth(r, dy);
        const int64_t y = cy + dy;
        if (std::abs(dy) <= ri) {
            fillRingSpans(canvas, cx, y, halfWidth(ri, dy), xo, pixel);
        } else {
            fillSpan(canvas, int64_t(cx) - xo, int64_t(cx) + xo, y, pixel);
        }
    }
}

}  // namespace

void fillCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, uint32_t pixel) {
    if (!drawableRadius(r)) return;
    const RowOffsets rows = visibleRowOffsets(canvas, cy, r);
    for (int64_t dy = rows.first; dy <= rows.last; ++dy) {
        const int32_t xo = halfWidth(r, dy);
        fillSpan(canvas, int64_t(cx) - xo, int64_t(cx) + xo, cy + dy, pixel);
    }
}

void strokeCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, int32_t thickness, uint32_t pixel) {
    if (!drawableRadius(r)) return;
    if (thickness < 2) {
        midpointCircle(canvas, cx, cy, r, pixel);
        return;
    }
    const int32_t ri = r - thickness;
    if (ri < 0) {
        fillCircle(canvas, cx, cy, r, pixel);
        return;
    }
    thickCircle(canvas, cx, cy, r, ri, pixel);
}

}  // namespace orvane
