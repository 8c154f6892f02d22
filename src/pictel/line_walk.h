#pragma once

// The Bresenham walk shared by lines and glyph outlines, entered at its
// first point inside a clip rectangle, so that a line from -2e9 to +2e9
// costs what its visible part costs and still sets exactly the pixels of
// the whole walk.

#include <cstdint>

#include "pictel/raster.h"

namespace orvane {

struct LineWalk {
    int64_t x = 0;  // the current point
    int64_t y = 0;
    int64_t dx = 0;  // |x2 - x1|
    int64_t dy = 0;  // |y2 - y1|
    int64_t sx = 1;
    int64_t sy = 1;
    int64_t err = 0;
    int64_t stepsLeft = 0;  // steps after the current point that stay in the clip
};

// Positions `walk` on the first point of the walk from (x1, y1) to (x2, y2)
// that lies in `clip`, with the error term the walk has there. False when
// no point lies in it. Ends must be within kMaxLineCoordinate.
bool enterLineWalk(PixelPoint from, PixelPoint to, const PixelRect& clip, LineWalk& walk);

// One step: x moves when 2err >= -dy, y when 2err <= dx, both tests on the
// same 2err and both inclusive.
inline void stepLineWalk(LineWalk& w) {
    const int64_t e2 = 2 * w.err;
    if (e2 >= -w.dy) {
        w.err -= w.dy;
        w.x += w.sx;
    }
    if (e2 <= w.dx) {
        w.err += w.dx;
        w.y += w.sy;
    }
}

// Calls visit(x, y) for every point of the walk that lies in `clip`, in
// walk order.
template <class Visit>
void walkClippedLine(PixelPoint from, PixelPoint to, const PixelRect& clip, Visit&& visit) {
    LineWalk w;
    if (!enterLineWalk(from, to, clip, w)) return;
    for (;;) {
        visit(w.x, w.y);
        if (w.stepsLeft == 0) return;
        --w.stepsLeft;
        stepLineWalk(w);
    }
}

// Stamps a square brush at consecutive points of one walk. Neighbouring
// squares overlap, so after the first only the column and row a step
// uncovers are written: the same union of pixels, in work linear in the
// brush size instead of quadratic. `fill` receives inclusive rectangles.
template <class Fill>
class SquareTrail {
public:
    // The square around (x, y) spans x - before .. x + after, likewise in y.
    SquareTrail(int64_t before, int64_t after, Fill fill) : before_(before), after_(after), fill_(fill) {}

    void stamp(int64_t x, int64_t y) {
        if (!started_) {
            fill_(PixelRect{x - before_, y - before_, x + after_, y + after_});
            started_ = true;
        } else {
            if (x != lastX_) {
                const int64_t column = x > lastX_ ? x + after_ : x - before_;
                fill_(PixelRect{column, y - before_, column, y + after_});
            }
            if (y != lastY_) {
                const int64_t row = y > lastY_ ? y + after_ : y - before_;
                fill_(PixelRect{x - before_, row, x + after_, row});
            }
        }
        lastX_ = x;
        lastY_ = y;
    }

private:
    int64_t before_;
    int64_t after_;
    Fill fill_;
    bool started_ = false;
    int64_t lastX_ = 0;
    int64_t lastY_ = 0;
};

}  // namespace orvane
