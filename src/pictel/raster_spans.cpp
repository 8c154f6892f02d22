// Pixels, spans and rectangles: the writes every other rasteriser ends in.
#include <algorithm>
#include <limits>

#include "pictel/raster.h"

namespace orvane {

namespace {

// The last position of a run of `count` (>= 1) starting at `start`; a run
// reaching past the 64-bit range ends at its edge, far beyond any canvas.
int64_t lastOfRun(int64_t start, int64_t count) {
    const int64_t extra = count - 1;
    if (start > std::numeric_limits<int64_t>::max() - extra) return std::numeric_limits<int64_t>::max();
    return start + extra;
}

}  // namespace

void setPixel(Canvas& canvas, int64_t x, int64_t y, uint32_t pixel) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
    canvas.at(int32_t(x), int32_t(y)) = pixel;
}

void fillPixelRect(Canvas& canvas, const PixelRect& rect, uint32_t pixel) {
    const int64_t left = std::max<int64_t>(rect.left, 0);
    const int64_t top = std::max<int64_t>(rect.top, 0);
    const int64_t right = std::min<int64_t>(rect.right, canvas.width - 1);
    const int64_t bottom = std::min<int64_t>(rect.bottom, canvas.height - 1);
    if (left > right || top > bottom) return;
    for (int64_t y = top; y <= bottom; ++y) {
        uint32_t* row = &canvas.at(int32_t(left), int32_t(y));
        std::fill(row, row + (right - left + 1), pixel);
    }
}

void fillSpan(Canvas& canvas, int64_t a, int64_t b, int64_t y, uint32_t pixel) {
    fillPixelRect(canvas, PixelRect{a, y, b, y}, pixel);
}

void fillCanvasRect(Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h, uint32_t pixel) {
    if (w < 1 || h < 1) return;
    fillPixelRect(canvas, PixelRect{x, y, lastOfRun(x, w), lastOfRun(y, h)}, pixel);
}

}  // namespace orvane
