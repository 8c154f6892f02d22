// Entering the Bresenham walk at its first point inside a clip rectangle.
//
// With dx >= dy every step of the walk moves x by one, and after k steps y
// has moved by the nearest integer to k dy / dx with halves going up,
// floor((2 k dy + dx) / (2 dx)); steep lines are the same with the axes
// swapped. (Induction on k: the y test 2err <= dx, with err = dx (j + 1) -
// dy (i + 1) at offsets i, j, is exactly the condition under which that
// rounded value grows by one.) So the steps whose point lies in the clip
// form one range of k, found from the closed form, and the walk resumes
// there with the error term it would have had.
#include "pictel/line_walk.h"

#include <algorithm>
#include <bit>

namespace orvane {

namespace {

struct DivMod {
    int64_t quotient = 0;
    int64_t remainder = 0;
};

// k * a = quotient * b + remainder exactly, for 0 <= a <= b, 0 < b and all
// below 2^62, without a 128-bit product: long multiplication one bit of k
// at a time, reduced modulo b as it goes.
DivMod mulDivMod(int64_t k, int64_t a, int64_t b) {
    const uint64_t uk = uint64_t(k);
    const uint64_t ua = uint64_t(a);
    const uint64_t ub = uint64_t(b);
    uint64_t q = 0;
    uint64_t r = 0;
    for (int bit = 63 - std::countl_zero(uk); bit >= 0; --bit) {
        q <<= 1;
        r <<= 1;
        if (r >= ub) {
            r -= ub;
            ++q;
        }
        if ((uk >> bit) & 1u) {
            r += ua;
            if (r >= ub) {
                r -= ub;
                ++q;
            }
        }
    }
    return DivMod{int64_t(q), int64_t(r)};
}

// The walk seen along its major axis, the one that moves at every step.
struct MajorView {
    int64_t majorStart = 0;
    int64_t majorDir = 1;
    int64_t minorStart = 0;
    int64_t minorDir = 1;
    int64_t dMajor = 0;  // > 0
    int64_t dMinor = 0;  // <= dMajor
};

// How far the minor coordinate has moved after k steps.
int64_t minorOffset(const MajorView& v, int64_t k, DivMod& division) {
    division = mulDivMod(k, v.dMinor, v.dMajor);
    return division.quotient + (2 * division.remainder >= v.dMajor ? 1 : 0);
}

int64_t minorOffset(const MajorView& v, int64_t k) {
    DivMod unused;
    return minorOffset(v, k, unused);
}

struct Range {
    int64_t first = 0;
    int64_t last = -1;
};

// The offsets d at which start + dir * d lies in [lo, hi].
Range offsetsWithin(int64_t start, int64_t dir, int64_t lo, int64_t hi) {
    if (dir > 0) return Range{lo - start, hi - start};
    return Range{start - hi, start - lo};
}

// The first k in [first, last + 1] for which reached(k) holds; reached is
// false up to some k and true from there on.
template <class Reached>
int64_t firstStepWhere(int64_t first, int64_t last, Reached reached) {
    int64_t lo = first;
    int64_t hi = last + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (reached(mid)) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

// Narrows `steps` to those whose minor coordinate lies in [lo, hi]. The
// minor offset never decreases along the walk, so they stay one range.
Range narrowByMinor(const MajorView& v, Range steps, int64_t lo, int64_t hi) {
    const Range wanted = offsetsWithin(v.minorStart, v.minorDir, lo, hi);
    if (minorOffset(v, steps.first) < wanted.first) {
        steps.first = firstStepWhere(steps.first, steps.last,
                                     [&](int64_t k) { return minorOffset(v, k) >= wanted.first; });
    }
    if (steps.first <= steps.last && minorOffset(v, steps.last) > wanted.last) {
        steps.last = firstStepWhere(steps.first, steps.last,
                                    [&](int64_t k) { return minorOffset(v, k) > wanted.last; }) -
                     1;
    }
    return steps;
}

bool withinLimits(PixelPoint p) {
    return p.x >= -kMaxLineCoordinate && p.x <= kMaxLineCoordinate && p.y >= -kMaxLineCoordinate &&
           p.y <= kMaxLineCoordinate;
}

bool contains(const PixelRect& r, int64_t x, int64_t y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

}  // namespace

bool enterLineWalk(PixelPoint from, PixelPoint to, const PixelRect& clip, LineWalk& walk) {
    if (!withinLimits(from) || !withinLimits(to)) return false;
    walk.dx = to.x > from.x ? to.x - from.x : from.x - to.x;
    walk.dy = to.y > from.y ? to.y - from.y : from.y - to.y;
    walk.sx = from.x < to.x ? 1 : -1;
    walk.sy = from.y < to.y ? 1 : -1;
    if (walk.dx == 0 && walk.dy == 0) {
        walk.x = from.x;
        walk.y = from.y;
        walk.err = 0;
        walk.stepsLeft = 0;
        return contains(clip, from.x, from.y);
    }

    const bool xMajor = walk.dx >= walk.dy;
    const MajorView v = xMajor ? MajorView{from.x, walk.sx, from.y, walk.sy, walk.dx, walk.dy}
                               : MajorView{from.y, walk.sy, from.x, walk.sx, walk.dy, walk.dx};
    const int64_t majorLo = xMajor ? clip.left : clip.top;
    const int64_t majorHi = xMajor ? clip.right : clip.bottom;
    Range steps = offsetsWithin(v.majorStart, v.majorDir, majorLo, majorHi);
    steps.first = std::max<int64_t>(steps.first, 0);
    steps.last = std::min(steps.last, v.dMajor);
    if (steps.first > steps.last) return false;
    steps = narrowByMinor(v, steps, xMajor ? clip.top : clip.left, xMajor ? clip.bottom : clip.right);
    if (steps.first > steps.last) return false;

    DivMod division;
    const int64_t k = steps.first;
    const int64_t offset = minorOffset(v, k, division);
    const int64_t major = v.majorStart + v.majorDir * k;
    const int64_t minor = v.minorStart + v.minorDir * offset;
    // err = dx (j + 1) - dy (i + 1) at offsets i (x) and j (y), rewritten
    // through k dMinor = quotient dMajor + remainder to stay small.
    const int64_t errMajorFirst = v.dMajor * (offset - division.quotient + 1) - division.remainder - v.dMinor;
    walk.x = xMajor ? major : minor;
    walk.y = xMajor ? minor : major;
    walk.err = xMajor ? errMajorFirst : -errMajorFirst;
    walk.stepsLeft = steps.last - steps.first;
    return true;
}

}  // namespace orvane
