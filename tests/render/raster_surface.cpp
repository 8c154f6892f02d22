#include "raster_surface.h"

#include <algorithm>
#include <memory>

namespace orvane {

RasterSurface::RasterSurface(int32_t width, int32_t height, uint32_t initial)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), initial) {}

void RasterSurface::put(int32_t x, int32_t y, uint32_t value) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y) * size_t(width_) + size_t(x)] = value;
}

PixelRect RasterSurface::clipped(const PixelRect& r) const {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_),
            std::min(r.bottom, height_)};
}

void RasterSurface::selectGridFont(int32_t pixelSize) {
    const auto m = FakeFonts::halfWide(pixelSize);
    glyph_ = pixelSize > 0 && m ? *m : CellMetrics{8, 12};
}

void RasterSurface::fillRect(const PixelRect& r, Colour colour) {
    const PixelRect c = clipped(r);
    for (int32_t y = c.top; y < c.bottom; ++y)
        for (int32_t x = c.left; x < c.right; ++x) put(x, y, colour);
}

void RasterSurface::drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour,
                             TextFont font) {
    const uint32_t slant = font == TextFont::kGridItalic ? 1 : 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t ch = text[i];
        if (ch == u' ') continue;
        const int32_t gx = x + int32_t(i) * glyph_.width;
        for (uint32_t k = 0; k < 3; ++k)
            put(gx + int32_t((ch + k + slant) % uint32_t(glyph_.width)),
                y + int32_t((ch * 3 + k) % uint32_t(glyph_.height)), colour);
    }
}

void RasterSurface::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    for (int32_t x = x1; x < x2; ++x) put(x, y1, colour);  // the renderer draws across only
    (void)y2;
}

void RasterSurface::copyRect(const PixelRect& from, int32_t toX, int32_t toY) {
    const std::vector<uint32_t> before = pixels_;
    for (int32_t y = from.top; y < from.bottom; ++y)
        for (int32_t x = from.left; x < from.right; ++x)
            if (x >= 0 && y >= 0 && x < width_ && y < height_)
                put(toX + x - from.left, toY + y - from.top, before[size_t(y) * size_t(width_) + size_t(x)]);
}

void RasterSurface::invertRect(const PixelRect& r) {
    const PixelRect c = clipped(r);
    for (int32_t y = c.top; y < c.bottom; ++y)
        for (int32_t x = c.left; x < c.right; ++x) pixels_[size_t(y) * size_t(width_) + size_t(x)] ^= 0xFFFFFFu;
}

void RasterSurface::frameRect(const PixelRect& r, Colour colour) {
    fillRect({r.left, r.top, r.right, r.top + 1}, colour);
    fillRect({r.left, r.bottom - 1, r.right, r.bottom}, colour);
    fillRect({r.left, r.top, r.left + 1, r.bottom}, colour);
    fillRect({r.right - 1, r.top, r.right, r.bottom}, colour);
}

TextExtent RasterSurface::measureText(std::u16string_view text, TextFont) {
    return {int32_t(text.size()) * 8, 16};
}

DrawSurface* RasterPaintHost::backBuffer(int32_t width, int32_t height) {
    // A new buffer starts as noise-like garbage, as fresh GDI memory may.
    if (!buffer || buffer->width() != width || buffer->height() != height)
        buffer = std::make_unique<RasterSurface>(width, height, 0x00ABCDEFu);
    return buffer.get();
}

bool RasterPaintHost::copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width,
                                     int32_t height) {
    if (!layerCacheAvailable) return false;
    back.fillRect({0, 0, width, height}, rgb(45, 45, 45));
    back.fillRect(g.gridRect(), 0);
    drawUnderTextLayers(back, g);
    return true;
}

void RasterPaintHost::drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) {
    if (!backgroundLoaded) return;
    // Stripes one pixel high, so a shifted picture shows.
    for (int32_t y = g.y0; y < g.y0 + g.gridHeight(); ++y)
        surface.fillRect({g.x0, y, g.x0 + g.gridWidth(), y + 1}, rgb(0, 0, uint32_t(y * 7)));
}

void RasterPaintHost::drawBellIndicator(DrawSurface& surface, const GridLayout& g) {
    const int32_t x = g.x0 + (g.cols - 2) * g.cellWidth;
    surface.fillRect({x, g.y0, g.x0 + g.gridWidth(), g.y0 + 2 * g.cellHeight}, rgb(255, 200, 40));
}

}  // namespace orvane
