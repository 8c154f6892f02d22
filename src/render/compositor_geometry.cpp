#include "render/compositor_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

bool fitsInt32(int64_t v) { return v >= kInt32Min && v <= kInt32Max; }

// Sizes of rectangles that came from outside, without 32-bit overflow.
int64_t width64(const PixelRect& r) { return int64_t(r.right) - r.left; }
int64_t height64(const PixelRect& r) { return int64_t(r.bottom) - r.top; }

// A rectangle whose corners and area are within what a bitmap may be.
std::optional<PixelRect> checkedRect(int64_t x, int64_t y, int64_t width, int64_t height, int64_t maxPixels) {
    if (width < 1 || height < 1 || width > kInt32Max || height > kInt32Max) return std::nullopt;
    if (width * height > maxPixels) return std::nullopt;
    if (!fitsInt32(x) || !fitsInt32(y) || !fitsInt32(x + width) || !fitsInt32(y + height)) return std::nullopt;
    return PixelRect{int32_t(x), int32_t(y), int32_t(x + width), int32_t(y + height)};
}

// The image's own size centred in the grid (truncating halves), as for center and aspect.
std::optional<PixelRect> centred(const PixelRect& grid, int64_t width, int64_t height) {
    const int64_t x = int64_t(grid.left) + (width64(grid) - width) / 2;
    const int64_t y = int64_t(grid.top) + (height64(grid) - height) / 2;
    return checkedRect(x, y, width, height, kMaxScaledBackgroundPixels);
}

std::optional<PixelRect> aspectRect(int32_t imageWidth, int32_t imageHeight, const PixelRect& grid) {
    const double s = std::min(double(height64(grid)) / imageHeight, double(width64(grid)) / imageWidth);
    const std::optional<int32_t> w = roundToInt32(imageWidth * s);
    const std::optional<int32_t> h = roundToInt32(imageHeight * s);
    if (!w || !h) return std::nullopt;
    return centred(grid, std::max(*w, 1), std::max(*h, 1));
}

// The canvas part a placement shows: its view, or the whole canvas.
std::optional<PixelRect> viewOf(const Canvas& c) {
    if (c.viewWidth > 0 && c.viewHeight > 0) {
        const bool inside = c.viewX >= 0 && c.viewY >= 0 && int64_t(c.viewX) + c.viewWidth <= c.width &&
                            int64_t(c.viewY) + c.viewHeight <= c.height;
        if (!inside) return std::nullopt;
        return PixelRect{c.viewX, c.viewY, c.viewX + c.viewWidth, c.viewY + c.viewHeight};
    }
    if (c.width < 1 || c.height < 1) return std::nullopt;
    return PixelRect{0, 0, c.width, c.height};
}

double cellsAndHundredths(int32_t cells, int32_t hundredths) { return cells + hundredths / 100.0; }

// Where one placement lands; none when it is skipped.
std::optional<GlassBlit> placeOne(const GlassLayer& glass, const Placement& p, const GridFrame& f,
                                  double rowOffset, double colOffset) {
    if (!p.visible) return std::nullopt;
    const auto it = glass.canvases.find(p.canvasId);
    if (it == glass.canvases.end() || !it->second.valid || it->second.width < 1) return std::nullopt;
    const std::optional<int32_t> top = roundToInt32(f.cellHeight * (cellsAndHundredths(p.row, p.rowHundredths) + rowOffset));
    const std::optional<int32_t> left = roundToInt32(f.cellWidth * (cellsAndHundredths(p.col, p.colHundredths) + colOffset));
    const std::optional<PixelRect> source = viewOf(it->second);
    if (!top || !left || !source) return std::nullopt;
    const std::optional<int32_t> width = roundToInt32(cellsAndHundredths(p.widthCells, p.widthHundredths) * f.cellWidth);
    if (!width || *width <= 0) return std::nullopt;
    const std::optional<int32_t> height = roundToInt32(double(*width) * heightOf(*source) / widthOf(*source));
    if (!height || *height < 1) return std::nullopt;
    const std::optional<PixelRect> dest =
        checkedRect(int64_t(f.x0) + *left, int64_t(f.y0) + *top, *width, *height, kMaxPlacementPixels);
    if (!dest) return std::nullopt;
    return GlassBlit{p.canvasId, *source, *dest};
}

}  // namespace

std::optional<int32_t> roundToInt32(double v) {
    // The comparisons are false for NaN, which is refused with the rest.
    if (!(v > double(kInt32Min) - 0.5 && v < double(kInt32Max) + 0.5)) return std::nullopt;
    return int32_t(std::round(v));
}

std::optional<PixelRect> backgroundDrawRect(int32_t fit, int32_t imageWidth, int32_t imageHeight,
                                            const PixelRect& grid) {
    const int64_t gridWidth = width64(grid);
    const int64_t gridHeight = height64(grid);
    if (imageWidth < 1 || imageHeight < 1 || gridWidth < 1 || gridHeight < 1) return std::nullopt;
    switch (fit) {
        case kFitStretch:
            return checkedRect(grid.left, grid.top, gridWidth, gridHeight, kMaxScaledBackgroundPixels);
        case kFitCenter:
            return centred(grid, imageWidth, imageHeight);
        default:
            return aspectRect(imageWidth, imageHeight, grid);
    }
}

uint8_t backgroundAlpha(int32_t opacity) {
    const int32_t clamped = std::clamp(opacity, 0, 100);
    return uint8_t((clamped * 255 + 50) / 100);
}

std::optional<PixelRect> gridRect(const GridFrame& frame) {
    const int64_t width = int64_t(frame.cellWidth) * frame.cols;
    const int64_t height = int64_t(frame.cellHeight) * frame.rows;
    return checkedRect(frame.x0, frame.y0, width, height, std::numeric_limits<int64_t>::max());
}

std::vector<GlassBlit> glassBlits(const GlassLayer& glass, const GridFrame& frame) {
    std::vector<GlassBlit> blits;
    const GlassOrigin& o = glass.glassOrigin;
    const double rowOffset = cellsAndHundredths(o.rowRef, o.rowRefHundredths) - frame.rows;
    const double colOffset = cellsAndHundredths(o.colRef, o.colRefHundredths) - frame.cols;
    for (const Placement& p : glass.placements) {
        if (std::optional<GlassBlit> blit = placeOne(glass, p, frame, rowOffset, colOffset)) blits.push_back(*blit);
    }
    return blits;
}

}  // namespace orvane
