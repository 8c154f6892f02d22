#include "raster_support.h"

namespace orvane::testing {

namespace {

char symbolOf(uint32_t pixel) {
    switch (pixel) {
    case kBackground: return '.';
    case kFill: return 'o';
    case kStroke: return '#';
    default: return '?';
    }
}

void setIfInside(Canvas& canvas, int64_t x, int64_t y, uint32_t pixel) {
    if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height) canvas.at(int32_t(x), int32_t(y)) = pixel;
}

}  // namespace

Canvas blankCanvas(int32_t width, int32_t height) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(size_t(width) * size_t(height), kBackground);
    c.valid = true;
    return c;
}

std::string picture(const Canvas& canvas) { return pictureOfWindow(canvas, 0, 0, canvas.width, canvas.height); }

std::string pictureOfWindow(const Canvas& big, int32_t x, int32_t y, int32_t width, int32_t height) {
    std::string out;
    for (int32_t row = y; row < y + height; ++row) {
        for (int32_t col = x; col < x + width; ++col) out += symbolOf(big.at(col, row));
        out += '\n';
    }
    return out;
}

std::string art(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* row : rows) {
        out += row;
        out += '\n';
    }
    return out;
}

void referenceLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
                   uint32_t pixel) {
    referenceWalk(x1, y1, x2, y2, [&](int64_t x, int64_t y) {
        if (thickness < 2) {
            setIfInside(canvas, x, y, pixel);
            return;
        }
        const int64_t left = x - thickness / 2;
        const int64_t top = y - thickness / 2;
        const bool missesCanvas = left >= canvas.width || top >= canvas.height || left + thickness <= 0 ||
                                  top + thickness <= 0;
        if (missesCanvas) return;  // only to keep long walks quick
        for (int64_t py = top; py < top + thickness; ++py) {
            for (int64_t px = left; px < left + thickness; ++px) setIfInside(canvas, px, py, pixel);
        }
    });
}

}  // namespace orvane::testing
