#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "render/layer_background.h"
#include "render/paint_terminal.h"
#include "render/render_cache.h"
#include "render/win32/back_buffer.h"
#include "render/win32/gdi_compositor.h"
#include "render/win32/gdi_fonts.h"
#include "render/win32/gdi_surface.h"

namespace orvane {

// Everything the terminal window keeps for painting across frames: the
// renderer's remembered state, its fonts and back buffer, the background
// settings and the compositor's bitmaps.
struct GdiRenderer {
    explicit GdiRenderer(Terminal& t) : compositor(t, background) {}

    RenderCache cache;
    GridFonts fonts;
    BackBuffer backBuffer;
    BackgroundState background;
    GdiCompositor compositor;
    // Draws the visual bell's mark; nothing when not set.
    std::function<void(HDC, const GridLayout&)> bellIndicator;
};

// One paint's view of the renderer and the window's device context.
class GdiPaintHost final : public PaintHost {
public:
    GdiPaintHost(GdiRenderer& renderer, HDC target);

    DrawSurface& target() override { return target_; }
    DrawSurface* backBuffer(int32_t width, int32_t height) override;
    FontMetricsSource& fontMetrics() override { return metrics_; }
    bool backgroundImageLoaded() override;
    bool copyLayerCache(DrawSurface& backBuffer, const GridLayout& g, int32_t width, int32_t height) override;
    void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) override;
    void drawBellIndicator(DrawSurface& surface, const GridLayout& g) override;
    void presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) override;
    int64_t counterTicks() override;

private:
    GdiRenderer& renderer_;
    HDC targetDc_;
    GdiFontMetrics metrics_;
    std::optional<GdiSurface> buffer_;
    GdiSurface target_;
};

// Paints one frame of the terminal into dc over the paint rectangle.
PaintOutcome paintTerminalGdi(Terminal& t, GdiRenderer& renderer, HDC dc, const RECT& paint, uint32_t now,
                              bool fastPathAllowed);

}  // namespace orvane
