#include "render/grid_layout.h"

#include "render/font_fit.h"

namespace orvane {

namespace {

// Margin when the grid (nearly) fills the window, or overflows it.
constexpr int32_t kNarrowMargin = kGridBorder / 2;

}  // namespace

int32_t gridMargin(int32_t paintExtent, int32_t gridExtent) {
    const int32_t spare = paintExtent - gridExtent;
    return spare >= kGridBorder ? spare / 2 : kNarrowMargin;
}

GridLayout layoutGrid(const PixelRect& paint, int32_t cols, int32_t rows, CellMetrics cell) {
    GridLayout g;
    g.cellWidth = cell.width;
    g.cellHeight = cell.height;
    g.cols = cols;
    g.rows = rows;
    g.x0 = paint.left + gridMargin(paint.right - paint.left, g.gridWidth());
    g.y0 = paint.top + gridMargin(paint.bottom - paint.top, g.gridHeight());
    return g;
}

}  // namespace orvane
