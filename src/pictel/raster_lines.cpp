// Lines with a square brush, and rectangle outlines.
#include <algorithm>

#include "pictel/line_walk.h"
#include "pictel/raster.h"

namespace orvane {

namespace {

PixelRect canvasRect(const Canvas& canvas) { return PixelRect{0, 0, canvas.width - 1, canvas.height - 1}; }

// The brush square of thickness t >= 2 spans x - t/2 .. x - t/2 + t - 1.
int64_t brushBefore(int32_t t) { return t / 2; }
int64_t brushAfter(int32_t t) { return t - 1 - t / 2; }

}  // namespace

void plotBrush(Canvas& canvas, int64_t x, int64_t y, int32_t thickness, uint32_t pixel) {
    if (thickness < 2) {
        setPixel(canvas, x, y, pixel);
        return;
    }
    const int64_t before = brushBefore(thickness);
    const int64_t after = brushAfter(thickness);
    fillPixelRect(canvas, PixelRect{x - before, y - before, x + after, y + after}, pixel);
}

void drawLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
              uint32_t pixel) {
    const PixelPoint from{x1, y1};
    const PixelPoint to{x2, y2};
    if (thickness < 2) {
        walkClippedLine(from, to, canvasRect(canvas),
                        [&](int64_t x, int64_t y) { canvas.at(int32_t(x), int32_t(y)) = pixel; });
        return;
    }
    // Only points whose square reaches the canvas matter.
    const int64_t before = brushBefore(thickness);
    const int64_t after = brushAfter(thickness);
    const PixelRect reach{-after, -after, canvas.width - 1 + before, canvas.height - 1 + before};
    SquareTrail trail(before, after, [&](const PixelRect& r) { fillPixelRect(canvas, r, pixel); });
    walkClippedLine(from, to, reach, [&](int64_t x, int64_t y) { trail.stamp(x, y); });
}

void strokeRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, int32_t thickness,
                uint32_t pixel) {
    if (w < 1 || h < 1) return;
    if (thickness > 1) {
        const int64_t tw = std::min<int64_t>(thickness, w);
        const int64_t th = std::min<int64_t>(thickness, h);
        fillCanvasRect(canvas, x, y, w, th, pixel);
        fillCanvasRect(canvas, x, int64_t(y) + h - th, w, th, pixel);
        fillCanvasRect(canvas, x, y, tw, h, pixel);
        fillCanvasRect(canvas, int64_t(x) + w - tw, y, tw, h, pixel);
        return;
    }
    const int64_t right = int64_t(x) + w - 1;
    const int64_t bottom = int64_t(y) + h - 1;
    drawLine(canvas, x, y, right, y, 1, pixel);
    drawLine(canvas, x, bottom, right, bottom, 1, pixel);
    drawLine(canvas, x, y, x, bottom, 1, pixel);
    drawLine(canvas, right, y, right, bottom, 1, pixel);
}

}  // namespace orvane
