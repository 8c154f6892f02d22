#pragma once
// Where the grid and its cells lie inside the paint rectangle.
#include <cstdint>

#include "render/draw_surface.h"

namespace orvane {

struct GridLayout {
    int32_t x0 = 0;  // top-left corner of cell (0, 0), paint offset included
    int32_t y0 = 0;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
    int32_t cols = 0;
    int32_t rows = 0;

    int32_t gridWidth() const { return cellWidth * cols; }
    int32_t gridHeight() const { return cellHeight * rows; }
    PixelRect gridRect() const { return {x0, y0, x0 + gridWidth(), y0 + gridHeight()}; }
    // Columns first..last (inclusive) of one row.
    PixelRect cellSpan(int32_t row, int32_t first, int32_t last) const {
        return {x0 + first * cellWidth, y0 + row * cellHeight, x0 + (last + 1) * cellWidth,
                y0 + (row + 1) * cellHeight};
    }
    PixelRect cellRect(int32_t row, int32_t col) const { return cellSpan(row, col, col); }
};

// Left or top margin: centred when at least 6 pixels are spare, else 3.
int32_t gridMargin(int32_t paintExtent, int32_t gridExtent);

GridLayout layoutGrid(const PixelRect& paint, int32_t cols, int32_t rows, CellMetrics cell);

}  // namespace orvane
