#pragma once
// What the renderer remembers between paints, apart from the GDI objects the
// Windows layer keeps: the font fit, the picture's rows as last painted and
// the conditions that painting held. Owned by the terminal window.
#include <cstdint>
#include <vector>

#include "terminal/cell.h"
#include "terminal/palette.h"

namespace orvane {

// Cell size before the first fit (the hit test needs one from the start).
inline constexpr int32_t kUnfittedCellWidth = 8;
inline constexpr int32_t kUnfittedCellHeight = 16;

struct RenderCache {
    // Font fit: the paint size it was made for and its result. The
    // terminal's fontValid says whether the grid size still matches it.
    int32_t fitWidth = -1;
    int32_t fitHeight = -1;
    int32_t fontPixelSize = 0;  // 0: the stock OEM fixed font
    int32_t cellWidth = kUnfittedCellWidth;
    int32_t cellHeight = kUnfittedCellHeight;

    // The grid rows as they were at the end of the last paint.
    std::vector<Row> shadowRows;

    // Last paint.
    int32_t lastCols = 0;
    int32_t lastRows = 0;
    int32_t lastWidth = -1;
    int32_t lastHeight = -1;
    bool lastBlinkPhase = true;
    const Palette* lastPalette = nullptr;

    // Whether the back buffer holds exactly the shadow rows' picture, and
    // whether nothing but text lies under it.
    bool shadowValid = false;
    bool bufferBare = false;
};

// The back buffer can no longer be trusted to show the shadow rows (for
// example the colours behind the indexes changed): the next paint is full.
void invalidateShadow(RenderCache& cache);

}  // namespace orvane
