#pragma once

// Small canvases for the rasteriser tests, pictured as ASCII art:
// '.' background, 'o' fill, '#' stroke, '?' anything else.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "pictel/canvas.h"

namespace orvane::testing {

inline constexpr uint32_t kBackground = 0xFF102030;
inline constexpr uint32_t kFill = 0xFF00C000;
inline constexpr uint32_t kStroke = 0xFFE0E0E0;

Canvas blankCanvas(int32_t width, int32_t height);

// The canvas row by row, each row ended by a newline.
std::string picture(const Canvas& canvas);

// Rows of expected art joined the way picture() joins them.
std::string art(std::initializer_list<const char*> rows);

// The rectangle of `big` at (x, y) the size of `window`, as a picture:
// what a clipped drawing must show through a smaller canvas.
std::string pictureOfWindow(const Canvas& big, int32_t x, int32_t y, int32_t width, int32_t height);

// The line walk exactly as specified, unclipped: calls plot(x, y) at every
// step from (x1, y1) to (x2, y2).
template <class Plot>
void referenceWalk(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Plot plot) {
    const int64_t dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int64_t dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int64_t sx = x1 < x2 ? 1 : -1;
    const int64_t sy = y1 < y2 ? 1 : -1;
    int64_t err = dx - dy;
    int64_t x = x1;
    int64_t y = y1;
    for (;;) {
        plot(x, y);
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

// A thick line drawn the slow way: the whole t x t square at every step.
void referenceLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
                   uint32_t pixel);

}  // namespace orvane::testing
