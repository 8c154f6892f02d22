// The pointer glyphs: scaled, turned in steps of 45 degrees, filled and
// outlined inside a mask of the glyph's visible bounding box.
#include <algorithm>
#include <array>
#include <cmath>
#include <new>

#include "pictel/line_walk.h"
#include "pictel/raster.h"

namespace orvane {

namespace {

constexpr GlyphPoint kArrow[] = {{0, 0}, {30, 62}, {11, 55}, {11, 100}, {-11, 100}, {-11, 55}, {-30, 62}};

constexpr GlyphPoint kHand[] = {{0, 0},   {9, 7},    {9, 43},   {19, 39},  {25, 46},  {31, 41},  {37, 48},
                                {43, 45}, {47, 56},  {47, 87},  {40, 99},  {6, 100},  {-9, 92},  {-17, 76},
                                {-20, 60}, {-18, 46}, {-8, 52}, {-8, 40}, {-9, 8}};

struct Rotation {
    double co = 1;
    double si = 0;
};

// k x 45 degrees clockwise on screen (y grows downwards).
Rotation rotationFor(int32_t angle) {
    const double s = std::sqrt(2.0) / 2;
    const std::array<double, 8> cosines{1, s, 0, -s, -1, -s, 0, s};
    const std::array<double, 8> sines{0, s, 1, s, 0, -s, -1, -s};
    const size_t k = size_t(angle & 7);
    return Rotation{cosines[k], sines[k]};
}

// The glyph in canvas pixels. |X - x| stays below 1.5 x size, so 64 bits
// hold every corner of the largest glyph a command can ask for.
std::vector<PixelPoint> placeGlyph(std::span<const GlyphPoint> glyph, int32_t x, int32_t y, int32_t size,
                                   int32_t angle) {
    const Rotation turn = rotationFor(angle);
    std::vector<PixelPoint> points;
    points.reserve(glyph.size());
    for (const GlyphPoint& g : glyph) {
        const double fx = double(g.x) * double(size) / 100;
        const double fy = double(g.y) * double(size) / 100;
        points.push_back(PixelPoint{x + std::llround(fx * turn.co - fy * turn.si),
                                    y + std::llround(fx * turn.si + fy * turn.co)});
    }
    return points;
}

// The bounding box of the points, clipped to the canvas (empty when it
// misses the canvas).
PixelRect visibleBounds(std::span<const PixelPoint> points, const Canvas& canvas) {
    if (points.empty()) return PixelRect{};
    PixelRect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const PixelPoint& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return PixelRect{std::max<int64_t>(box.left, 0), std::max<int64_t>(box.top, 0),
                     std::min<int64_t>(box.right, canvas.width - 1), std::min<int64_t>(box.bottom, canvas.height - 1)};
}

// The coverage of the clipped box, for thick outlines.
struct GlyphMask {
    PixelRect box;
    CoverageMask coverage;

    bool covers(int64_t x, int64_t y) const { return coverage.covers(x, y); }
};

void setCovered(Canvas& canvas, const GlyphMask& mask, const PixelRect& area, uint32_t pixel) {
    const int64_t left = std::max(area.left, mask.box.left);
    const int64_t top = std::max(area.top, mask.box.top);
    const int64_t right = std::min(area.right, mask.box.right);
    const int64_t bottom = std::min(area.bottom, mask.box.bottom);
    for (int64_t y = top; y <= bottom; ++y) {
        for (int64_t x = left; x <= right; ++x) {
            if (mask.covers(x, y)) canvas.at(int32_t(x), int32_t(y)) = pixel;
        }
    }
}

// The fill goes row by row from the coverage runs; it needs no mask.
void fillGlyph(Canvas& canvas, PolygonRows& rows, const PixelRect& box, uint32_t pixel) {
    for (int64_t y = box.top; y <= box.bottom; ++y) {
        for (const ColumnRun& run : rows.runs(y, box.left, box.right)) fillSpan(canvas, run.first, run.last, y, pixel);
    }
}

// A thick outline reaches only covered pixels: it needs the mask.
GlyphMask maskFor(std::span<const PixelPoint> points, const PixelRect& box, int32_t tt) {
    GlyphMask mask;
    mask.box = box;
    if (tt < 2) return mask;
    polygonMask(points, box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1, mask.coverage);
    return mask;
}

// Every edge walked as a line, setting each step. With a thickness
// tt >= 2 each step also sets the covered pixels of the box within tt - 1
// of it, so the outline grows inwards only.
void strokeGlyph(Canvas& canvas, std::span<const PixelPoint> points, const GlyphMask& mask, int32_t tt,
                 uint32_t pixel) {
    const int64_t reach = tt >= 2 ? tt - 1 : 0;
    const PixelRect& box = mask.box;
    const PixelRect clip{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        SquareTrail trail(reach, reach, [&](const PixelRect& r) { setCovered(canvas, mask, r, pixel); });
        walkClippedLine(points[i], points[(i + 1) % n], clip, [&](int64_t x, int64_t y) {
            setPixel(canvas, x, y, pixel);
            if (reach > 0) trail.stamp(x, y);
        });
    }
}

// Everything that can fail to allocate happens before the first pixel is
// written, so a glyph is drawn whole or not at all.
void drawPlacedGlyph(Canvas& canvas, std::span<const PixelPoint> points, const GlyphStyle& style, int32_t tt) {
    const PixelRect box = visibleBounds(points, canvas);
    if (box.left > box.right || box.top > box.bottom) return;
    const GlyphMask mask = maskFor(points, box, style.strokeOn ? tt : 1);
    PolygonRows rows(points);
    if (style.fillOn) fillGlyph(canvas, rows, box, style.fillPixel);
    if (style.strokeOn) strokeGlyph(canvas, points, mask, tt, style.strokePixel);
}

}  // namespace

std::span<const GlyphPoint> arrowGlyph() { return kArrow; }
std::span<const GlyphPoint> handGlyph() { return kHand; }

void drawGlyph(Canvas& canvas, std::span<const GlyphPoint> glyph, int32_t x, int32_t y, int32_t size,
               int32_t angle, const GlyphStyle& style) {
    if (size < 1 || (!style.fillOn && !style.strokeOn)) return;
    const int32_t tt = std::min(size, style.thickness);
    try {
        drawPlacedGlyph(canvas, placeGlyph(glyph, x, y, size, angle), style, tt);
    } catch (const std::bad_alloc&) {
        // No room for the points or the mask: nothing is drawn, as for
        // invalid input.
    }
}

}  // namespace orvane
