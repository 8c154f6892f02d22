#pragma once

// Small canvases for the rasteriser tests, pictured as ASCII art:
// '.' background, 'o' fill, '#' stroke, '?' anything else.

#include <cstdint>
#include <vector>
#include <string>

#include "pictel/canvas.h"

namespace orvane::testing {

inline constexpr uint32_t kBackground = 0xFF102030;
inline constexpr uint32_t kFill = 0xFF00C000;
inline constexpr uint32_t kStroke = 0xFFE0E0E0;

Canvas blankCanvas(int32_t width, int32_t height);

// The rectangle of `canvas` at (x, y) of that size, row by row, each row
// ended by a newline; the whole canvas when no rectangle is given.
std::string picture(const Canvas& canvas, int32_t x = 0, int32_t y = 0, int32_t width = -1, int32_t height = -1);

// Rows of expected art joined the way picture() joins them.
std::string art(const std::vector<const char*>& rows);

// A line drawn the slow way, as the walk is defined and unclipped: the
// pixel, or the whole t x t square with top-left (x - t/2, y - t/2), at
// every step.
void referenceLine(Canvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t thickness,
                   uint32_t pixel);

}  // namespace orvane::testing
