#include "render/hit_test.h"

#include <algorithm>

#include "render/grid_layout.h"
#include "terminal/selection.h"

namespace orvane {

namespace {

// Which cell along one axis; anything before the grid is cell 0.
int32_t cellIndex(int32_t offset, int32_t cellExtent, int32_t count) {
    if (offset < 0 || cellExtent < 1) return 0;
    return std::clamp(offset / cellExtent, 0, std::max(count - 1, 0));
}

}  // namespace

CellPos hitTest(const Terminal& t, const RenderCache& cache, const PixelRect& client, int32_t x,
                int32_t y) {
    const GridLayout g = layoutGrid(client, t.cols, t.rows, {cache.cellWidth, cache.cellHeight});
    return {cellIndex(y - g.y0, g.cellHeight, t.rows), cellIndex(x - g.x0, g.cellWidth, t.cols)};
}

void beginSelection(Terminal& t, const RenderCache& cache, int32_t x, int32_t y,
                    const PixelRect& client) {
    beginSelectionAt(t, hitTest(t, cache, client, x, y));
}

void extendSelection(Terminal& t, const RenderCache& cache, int32_t x, int32_t y,
                     const PixelRect& client) {
    extendSelectionTo(t, hitTest(t, cache, client, x, y));
}

}  // namespace orvane
