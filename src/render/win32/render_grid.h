#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "render/win32/gdi_paint_host.h"

namespace orvane {

struct GridPictureSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The grid alone at (x, y) for a screenshot: black grid, the background
// image and the glass placements when asked, then every row; no margin,
// cursor, selection, notice or bell. None until a paint has fitted the font
// for the current grid size.
std::optional<GridPictureSize> renderGrid(const Terminal& t, GdiRenderer& renderer, HDC dc, bool withBackground,
                                          bool withGlass, int32_t x, int32_t y);

}  // namespace orvane
