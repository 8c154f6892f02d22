#pragma once
// Choosing the cell font for a paint size from measured font metrics.
#include <cstdint>

#include "render/draw_surface.h"

namespace orvane {

// Pixel sizes below this are unreadable; the fit falls back to the stock
// OEM fixed font instead.
inline constexpr int32_t kMinFontPixelSize = 4;
// Room left around the grid by the fit and by the layout's narrow margins.
inline constexpr int32_t kGridBorder = 6;

struct FontFit {
    int32_t pixelSize = 0;  // 0: the stock OEM fixed font
    CellMetrics cell;
    friend bool operator==(const FontFit&, const FontFit&) = default;
};

// The largest "Consolas" size from available height / rows downwards whose
// grid fits the paint size less the border; the OEM font when none does.
// The cell is never smaller than 1 x 1.
FontFit fitFont(FontMetricsSource& fonts, int32_t cols, int32_t rows, int32_t width,
                int32_t height);

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The smallest terminal size that shows the grid at the font size the
// candidate size gives: refit on the grid's own size until the cell stays.
PixelSize snugGridSize(FontMetricsSource& fonts, int32_t cols, int32_t rows, PixelSize candidate);

}  // namespace orvane
