#pragma once
// Mouse positions to grid cells, with the paint's cell size and margins,
// and the pixel front end of the selection.
#include <cstdint>

#include "render/draw_surface.h"
#include "render/render_cache.h"
#include "terminal/terminal.h"

namespace orvane {

// The cell under pixel (x, y) of the client rectangle, clamped into the
// grid (left of or above the grid is column or row 0).
CellPos hitTest(const Terminal& t, const RenderCache& cache, const PixelRect& client, int32_t x,
                int32_t y);

// The left button went down / the mouse moved with it held, at (x, y).
void beginSelection(Terminal& t, const RenderCache& cache, int32_t x, int32_t y,
                    const PixelRect& client);
void extendSelection(Terminal& t, const RenderCache& cache, int32_t x, int32_t y,
                     const PixelRect& client);

}  // namespace orvane
