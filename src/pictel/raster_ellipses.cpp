// Filled ellipses and ellipse outlines.
#include <cmath>
#include <cstdlib>

#include "pictel/raster.h"
#include "pictel/raster_rows.h"

namespace orvane {

namespace {

bool drawableRadii(int32_t rx, int32_t ry) { return rx >= 0 && ry >= 0 && rx <= kMaxRadius && ry <= kMaxRadius; }

// 1 - dy^2 / ry^2 (ry^2 read as 1 when 0): where row dy cuts the ellipse,
// as the square of the fraction of rx.
double rowFraction(int64_t dy, int32_t ry) {
    const int64_t ry2 = int64_t(ry) * ry;
    return 1.0 - double(dy * dy) / double(ry2 == 0 ? 1 : ry2);
}

// The integer nearest to v, halves away from zero.
int64_t nearest(double v) { return std::llround(v); }

// Calls plot(x, y) for the points of one quadrant of the midpoint ellipse,
// from (0, ry) round to (rx, 0), with 64-bit decision values.
template <class Plot>
void midpointQuadrant(int32_t rx, int32_t ry, Plot plot) {
    const int64_t a = int64_t(rx) * rx;
    const int64_t b = int64_t(ry) * ry;
    int64_t x = 0;
    int64_t y = ry;
    int64_t px = 0;
    int64_t py = 2 * a * ry;
    plot(x, y);
    // Region 1: the slope is shallower than -1, x moves at every step.
    int64_t p = nearest(double(b) - double(a) * ry + double(a) / 4.0);
    while (px < py) {
        ++x;
        px += 2 * b;
        if (p >= 0) {
            --y;
            py -= 2 * a;
            p -= py;
        }
        plot(x, y);
        p += px + b;
    }
    // Region 2: y moves at every step.
    p = nearest(double(a) * double(y - 1) * double(y - 1) + double(b) * (double(x) + 0.5) * (double(x) + 0.5) -
                double(a) * double(b));
    while (y > 0) {
        const bool moveX = p <= 0;
        py -= 2 * a;
        --y;
        p -= py;
        if (moveX) {
            ++x;
            px += 2 * b;
            p += px;
        }
        plot(x, y);
        p += a;
    }
}

void thinEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t pixel) {
    midpointQuadrant(rx, ry, [&](int64_t x, int64_t y) {
        setPixel(canvas, cx + x, cy + y, pixel);
        setPixel(canvas, cx - x, cy + y, pixel);
        setPixel(canvas, cx + x, cy - y, pixel);
        setPixel(canvas, cx - x, cy - y, pixel);
    });
}

// A ring between the ellipse (rx, ry) and the one t pixels inside it.
void thickEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t rxi, int32_t ryi,
                  uint32_t pixel) {
    const RowOffsets rows = visibleRowOffsets(canvas, cy, ry);
    for (int64_t dy = rows.first; dy <= rows.last; ++dy) {
        const double q = rowFraction(dy, ry);
        if (q < 0) continue;
        const int32_t xo = roundHalfUp(std::sqrt(q) * rx);
        const int64_t y = cy + dy;
        if (std::abs(dy) > ryi) {
            fillSpan(canvas, int64_t(cx) - xo, int64_t(cx) + xo, y, pixel);
            continue;
        }
        const double qi = rowFraction(dy, ryi);
        const int32_t xi = qi > 0 ? roundHalfUp(std::sqrt(qi) * rxi) : 0;
        fillRingSpans(canvas, cx, y, xi, xo, pixel);
    }
}

}  // namespace

void fillEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t pixel) {
    if (!drawableRadii(rx, ry)) return;
    if (rx == 0 && ry == 0) {
        setPixel(canvas, cx, cy, pixel);
        return;
    }
    const RowOffsets rows = visibleRowOffsets(canvas, cy, ry);
    for (int64_t dy = rows.first; dy <= rows.last; ++dy) {
        const double q = rowFraction(dy, ry);
        if (q < 0) continue;
        const int32_t xo = roundHalfUp(std::sqrt(q) * rx);
        fillSpan(canvas, int64_t(cx) - xo, int64_t(cx) + xo, cy + dy, pixel);
    }
}

void strokeEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t thickness,
                   uint32_t pixel) {
    if (!drawableRadii(rx, ry)) return;
    if (rx == 0 && ry == 0) {
        plotBrush(canvas, cx, cy, thickness, pixel);
        return;
    }
    if (thickness < 2) {
        thinEllipse(canvas, cx, cy, rx, ry, pixel);
        return;
    }
    const int32_t rxi = rx - thickness;
    const int32_t ryi = ry - thickness;
    if (rxi < 0 || ryi < 0) {
        fillEllipse(canvas, cx, cy, rx, ry, pixel);
        return;
    }
    thickEllipse(canvas, cx, cy, rx, ry, rxi, ryi, pixel);
}

}  // namespace orvane
