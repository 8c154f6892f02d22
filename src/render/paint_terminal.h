#pragma once
// One frame of the terminal window: font fit, the choice between scrolling or
// patching the previous picture and painting it afresh, the copy to the
// screen and the overlays. GDI stays behind PaintHost; the caller turns the
// outcome into statistics.
#include <cstdint>
#include <vector>

#include "render/draw_surface.h"
#include "render/grid_layout.h"
#include "render/paint_gate.h"
#include "render/render_cache.h"
#include "terminal/terminal.h"

namespace orvane {

// What a paint needs from the window and the compositor.
class PaintHost {
public:
    virtual ~PaintHost() = default;

    // The window's own device context.
    virtual DrawSurface& target() = 0;

    // A back buffer of exactly width x height, reused while the size stays;
    // null when it cannot be created (the frame then goes to the target).
    virtual DrawSurface* backBuffer(int32_t width, int32_t height) = 0;

    virtual FontMetricsSource& fontMetrics() = 0;

    virtual bool backgroundImageLoaded() = 0;

    // Copies the cached picture of margin, grid area, background image and
    // glass placements whole into the back buffer; false when there is none.
    virtual bool copyLayerCache(DrawSurface& backBuffer, const GridLayout& g, int32_t width,
                                int32_t height) = 0;

    // The background image into the grid rectangle, then the placements.
    virtual void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) = 0;

    // The visual bell's mark, drawn with the text while the bell shows.
    virtual void drawBellIndicator(DrawSurface& surface, const GridLayout& g) = 0;

    // Copies the back buffer whole to the target at (left, top).
    virtual void presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) = 0;

    // A high-resolution counter for the phase times; 0 when not measured.
    virtual int64_t counterTicks() { return 0; }
};

struct PaintRequest {
    PixelRect paint;  // the terminal window's client rectangle
    uint32_t now = 0;
    bool fastPathAllowed = true;  // fastPathAllowed() in the program
};

enum class PaintPath : uint8_t { kFull, kScroll, kDirtyRows };

// Counter ticks spent moving old pixels or drawing the under-text layers
// (composite), drawing rows and the bell (render), and from there to the
// end (blit).
struct PhaseTicks {
    int64_t composite = 0;
    int64_t render = 0;
    int64_t blit = 0;
    int64_t total = 0;
};

struct PaintOutcome {
    GateFlags gate;
    bool eligible = false;
    PaintPath path = PaintPath::kFull;
    int32_t scrollLines = 0;
    std::vector<int32_t> rowsDrawn;
    bool refitted = false;
    bool backBufferUsed = false;
    bool layerCacheUsed = false;
    bool bellDrawn = false;
    PhaseTicks ticks;
    bool fast() const { return path != PaintPath::kFull; }
};

PaintOutcome paintTerminal(Terminal& t, RenderCache& cache, PaintHost& host,
                           const PaintRequest& request);

}  // namespace orvane
