#pragma once

// Software rasterisers for the Pictel drawing commands. Every routine writes
// one opaque pixel value, clips to the canvas, and does work bounded by the
// part of the canvas it can touch, however far outside the coordinates lie.

#include <cstdint>
#include <span>
#include <vector>

#include "pictel/canvas.h"

namespace orvane {

// Brush sizes a device may ask for; a brush touches at most 65,536 pixels.
inline constexpr int32_t kMinThickness = 1;
inline constexpr int32_t kMaxThickness = 256;

// Circles and ellipses with a larger radius draw nothing. No canvas that is
// not a sliver is wider than 8,192 pixels, so nothing visible is lost, and
// the midpoint decision values stay far from 64-bit overflow.
inline constexpr int32_t kMaxRadius = 32767;

// Lines with an end farther out than this draw nothing. Commands pass 32-bit
// values and glyph corners stay within 2^34, so only a direct caller with
// absurd values meets it; below it no step of the walk can overflow.
inline constexpr int64_t kMaxLineCoordinate = int64_t(1) << 40;

struct PixelPoint {
    int64_t x = 0;
    int64_t y = 0;
};

// An inclusive rectangle of pixel positions.
struct PixelRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = -1;
    int64_t bottom = -1;
};

// Sets (x, y) when it lies on the canvas.
void setPixel(Canvas& canvas, int64_t x, int64_t y, uint32_t pixel);
// Sets columns a..b (inclusive) of row y, clipped.
void fillSpan(Canvas& canvas, int64_t a, int64_t b, int64_t y, uint32_t pixel);
// Sets every pixel of the inclusive rectangle that lies on the canvas.
void fillPixelRect(Canvas& canvas, const PixelRect& rect, uint32_t pixel);
// The w x h rectangle at (x, y), clipped; nothing when w < 1 or h < 1.
void fillCanvasRect(Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h, uint32_t pixel);

// One walk point: for thickness < 2 the pixel, otherwise the t x t square
// whose top-left corner is (x - t/2, y - t/2).
void plotBrush(Canvas& canvas, int64_t x, int64_t y, int32_t thickness, uint32_t pixel);
// Bresenham from (x1, y1) to (x2, y2) inclusive, a brush at every step.
void drawLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
              uint32_t pixel);
// The outline of the w x h rectangle at (x, y): bands of the thickness
// (clamped to the size) or, at thickness 1, four one-pixel lines.
void strokeRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, int32_t thickness,
                uint32_t pixel);

void fillCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, uint32_t pixel);
void strokeCircle(Canvas& canvas, int32_t cx, int32_t cy, int32_t r, int32_t thickness, uint32_t pixel);
void fillEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t pixel);
void strokeEllipse(Canvas& canvas, int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t thickness,
                   uint32_t pixel);

// Columns first..last (inclusive) of one row.
struct ColumnRun {
    int64_t first = 0;
    int64_t last = -1;
};

// Even-odd coverage of a closed polygon, one canvas row at a time, sampled
// at pixel centres. A polygon of fewer than three points covers nothing.
class PolygonRows {
public:
    explicit PolygonRows(std::span<const PixelPoint> points);
    // The covered columns of `row` within [left, right], left to right;
    // valid until the next call.
    std::span<const ColumnRun> runs(int64_t row, int64_t left, int64_t right);

private:
    std::span<const PixelPoint> points_;
    std::vector<double> crossings_;
    std::vector<ColumnRun> runs_;
};

// Which pixels of a box are covered, one bit each: the largest box, a whole
// canvas of 0x4000000 pixels, takes 8 MiB.
class CoverageMask {
public:
    // The box of `width` x `height` pixels whose top-left pixel is (left, top),
    // nothing covered.
    void reset(int64_t left, int64_t top, int64_t width, int64_t height);
    // Covers `run` of canvas row y; the run lies within the box.
    void cover(int64_t y, const ColumnRun& run);
    // Whether canvas pixel (x, y), inside the box, is covered.
    bool covers(int64_t x, int64_t y) const {
        const uint64_t bit = uint64_t(x - left_);
        return (words_[size_t(y - top_) * size_t(wordsPerRow_) + size_t(bit / 64)] >> (bit % 64)) & 1u;
    }

private:
    int64_t left_ = 0;
    int64_t top_ = 0;
    int64_t wordsPerRow_ = 0;
    std::vector<uint64_t> words_;
};

// The even-odd coverage of the polygon over the box of `width` x `height`
// pixels whose top-left pixel is (left, top).
void polygonMask(std::span<const PixelPoint> points, int64_t left, int64_t top, int64_t width, int64_t height,
                 CoverageMask& mask);

// Glyph outlines in units where 100 is the nominal height; the tip is at
// (0, 0) and the glyph hangs below it.
struct GlyphPoint {
    int32_t x = 0;
    int32_t y = 0;
};
std::span<const GlyphPoint> arrowGlyph();
std::span<const GlyphPoint> handGlyph();

struct GlyphStyle {
    bool fillOn = false;
    uint32_t fillPixel = 0;
    bool strokeOn = false;
    uint32_t strokePixel = 0;
    int32_t thickness = 1;
};

// The glyph scaled to `size`, turned by (angle & 7) x 45 degrees clockwise,
// its tip at (x, y): filled, then outlined; thick outlines grow inwards only.
void drawGlyph(Canvas& canvas, std::span<const GlyphPoint> glyph, int32_t x, int32_t y, int32_t size,
               int32_t angle, const GlyphStyle& style);

}  // namespace orvane
