#pragma once
// One grid row as runs of equal attributes: one background fill and one
// text call per run.
#include <cstdint>

#include "render/draw_surface.h"
#include "terminal/terminal.h"

namespace orvane {

// Cells from `first` on that share every field but the character with it.
int32_t attributeRunLength(const Row& row, int32_t first);

struct RunColours {
    Colour text = 0;
    Colour background = 0;
    friend bool operator==(const RunColours&, const RunColours&) = default;
};

// Bold brightens indexes 0-7 only; dim averages text and background.
RunColours runColours(const Cell& cell, const Palette& palette);

// What lies under the text that some cells must let show through.
struct UnderText {
    bool backgroundImage = false;  // a background image is loaded
    bool keyColourSet = false;     // the glass layer's key colour is on
    Colour keyColour = 0;
};

UnderText underTextOf(const Terminal& t, bool backgroundImageLoaded);

// Draws grid row `row` with its top-left cell at (x0, y0 + row * cell height).
void drawRow(const Terminal& t, DrawSurface& surface, int32_t row, int32_t x0, int32_t y0,
             CellMetrics cell, const UnderText& under);

}  // namespace orvane
