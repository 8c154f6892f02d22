#include "render/win32/render_grid.h"

#include "render/draw_row.h"

namespace orvane {

std::optional<GridPictureSize> renderGrid(const Terminal& t, GdiRenderer& renderer, HDC dc, bool withBackground,
                                          bool withGlass, int32_t x, int32_t y) {
    const RenderCache& cache = renderer.cache;
    const GridFrame frame{x, y, cache.cellWidth, cache.cellHeight, t.cols, t.rows};
    const std::optional<PixelRect> grid = gridRect(frame);
    if (!t.fontValid || !grid) return std::nullopt;
    GdiSurface surface(dc, renderer.fonts);
    surface.selectGridFont(cache.fontPixelSize);
    surface.fillRect(*grid, kGridColour);
    if (withBackground) renderer.compositor.drawBackgroundImage(dc, *grid);
    if (withGlass) renderer.compositor.drawGlassPlacements(dc, frame);
    // Cells of background 0 stay unfilled while a picture is loaded, drawn or not.
    const UnderText under = underTextOf(t, backgroundLoaded(renderer.background));
    for (int32_t row = 0; row < t.rows; ++row) {
        drawRow(t, surface, row, x, y, {cache.cellWidth, cache.cellHeight}, under);
    }
    return GridPictureSize{widthOf(*grid), heightOf(*grid)};
}

}  // namespace orvane
