#include "render/win32/gdi_paint_host.h"

namespace orvane {

namespace {

HDC dcOf(DrawSurface& surface) { return static_cast<GdiSurface&>(surface).dc(); }

}  // namespace

GdiPaintHost::GdiPaintHost(GdiRenderer& renderer, HDC target)
    : renderer_(renderer), targetDc_(target), metrics_(target), target_(target, renderer.fonts) {}

DrawSurface* GdiPaintHost::backBuffer(int32_t width, int32_t height) {
    if (buffer_ && renderer_.backBuffer.width() == width && renderer_.backBuffer.height() == height)
        return &*buffer_;
    buffer_.reset();
    if (!renderer_.backBuffer.ensure(targetDc_, width, height)) return nullptr;
    buffer_.emplace(renderer_.backBuffer.dc(), renderer_.fonts);
    return &*buffer_;
}

bool GdiPaintHost::backgroundImageLoaded() { return backgroundLoaded(renderer_.background); }

bool GdiPaintHost::copyLayerCache(DrawSurface& backBuffer, const GridLayout& g, int32_t width, int32_t height) {
    HDC buffer = dcOf(backBuffer);
    HDC layers = renderer_.compositor.layerCacheImage(buffer, width, height, g);
    if (!layers) return false;
    BitBlt(buffer, 0, 0, width, height, layers, 0, 0, SRCCOPY);
    return true;
}

void GdiPaintHost::drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) {
    HDC dc = dcOf(surface);
    if (const std::optional<PixelRect> grid = gridRect(g)) renderer_.compositor.drawBackgroundImage(dc, *grid);
    renderer_.compositor.drawGlassPlacements(dc, g);
}

void GdiPaintHost::drawBellIndicator(DrawSurface& surface, const GridLayout& g) {
    if (renderer_.bellIndicator) renderer_.bellIndicator(dcOf(surface), g);
}

void GdiPaintHost::presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) {
    BitBlt(targetDc_, left, top, width, height, renderer_.backBuffer.dc(), 0, 0, SRCCOPY);
}

int64_t GdiPaintHost::counterTicks() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

PaintOutcome paintTerminalGdi(Terminal& t, GdiRenderer& renderer, HDC dc, const RECT& paint, uint32_t now,
                              bool fastPathAllowed) {
    GdiPaintHost host(renderer, dc);
    const PaintRequest request{{paint.left, paint.top, paint.right, paint.bottom}, now, fastPathAllowed};
    return paintTerminal(t, renderer.cache, host, request);
}

}  // namespace orvane
