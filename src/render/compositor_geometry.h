#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pictel/glass_layer.h"
#include "render/draw_surface.h"
#include "render/grid_layout.h"

namespace orvane {

// Values of BackgroundState::fit.
enum BackgroundFit : int32_t { kFitStretch = 0, kFitAspect = 1, kFitCenter = 2 };

inline int32_t widthOf(const PixelRect& r) { return r.right - r.left; }
inline int32_t heightOf(const PixelRect& r) { return r.bottom - r.top; }

// The largest scaled background kept: no more than the largest picture the
// terminal accepts, so a huge window or image cannot ask for more.
inline constexpr int64_t kMaxScaledBackgroundPixels = kMaxCanvasPixels;
// A glass placement bigger than this is not drawn (64 MiB as a bitmap).
inline constexpr int64_t kMaxPlacementPixels = 0x1000000;

// v to the nearest integer, halves away from zero; none when the result
// would not fit 32 bits (or v is not a number).
std::optional<int32_t> roundToInt32(double v);

// Where the background image of imageWidth x imageHeight is drawn in the
// grid rectangle; none when nothing is drawn (empty rectangle or image,
// or a result out of range).
std::optional<PixelRect> backgroundDrawRect(int32_t fit, int32_t imageWidth, int32_t imageHeight,
                                            const PixelRect& grid);

// Constant source alpha of the background: 0 draws nothing, 255 is a plain copy.
uint8_t backgroundAlpha(int32_t opacity);

// Where the grid lies in the paint area and how big its cells are.
using GridFrame = GridLayout;

// The grid rectangle; none when it does not fit 32-bit coordinates or is empty.
std::optional<PixelRect> gridRect(const GridFrame& frame);

// One canvas to draw: its part (source, in canvas pixels) and where it goes.
struct GlassBlit {
    int32_t canvasId = 0;
    PixelRect source;
    PixelRect dest;
    friend bool operator==(const GlassBlit&, const GlassBlit&) = default;
};

// The visible placements of the glass layer that can be drawn, in list order.
std::vector<GlassBlit> glassBlits(const GlassLayer& glass, const GridFrame& frame);

}  // namespace orvane
