#include "raster_support.h"

#include <algorithm>
#include <cstdlib>

namespace orvane::testing {

Canvas blankCanvas(int32_t width, int32_t height) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(size_t(width) * size_t(height), kBackground);
    c.valid = true;
    return c;
}

std::string picture(const Canvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (width < 0) width = canvas.width;
    if (height < 0) height = canvas.height;
    std::string out;
    for (int32_t row = y; row < y + height; ++row) {
        for (int32_t col = x; col < x + width; ++col) {
            const uint32_t p = canvas.at(col, row);
            out += p == kBackground ? '.' : p == kFill ? 'o' : p == kStroke ? '#' : '?';
        }
        out += '\n';
    }
    return out;
}

std::string art(const std::vector<const char*>& rows) {
    std::string out;
    for (const char* row : rows) out += std::string(row) + "\n";
    return out;
}

void referenceLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
                   uint32_t pixel) {
    const int64_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const int64_t t = thickness < 2 ? 1 : thickness, before = thickness < 2 ? 0 : thickness / 2;
    int64_t err = dx - dy, x = x1, y = y1;
    for (;;) {
        // Squares that miss the canvas are skipped only to keep long walks quick.
        for (int64_t py = std::max<int64_t>(y - before, 0); py < std::min<int64_t>(y - before + t, canvas.height); ++py)
            for (int64_t px = std::max<int64_t>(x - before, 0); px < std::min<int64_t>(x - before + t, canvas.width); ++px)
                canvas.at(int32_t(px), int32_t(py)) = pixel;
        if (x == x2 && y == y2) return;
        const int64_t e2 = 2 * err;
        if (e2 >= -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace orvane::testing
