#include "render_fakes.h"

#include <algorithm>
#include <cstdio>

namespace orvane {

namespace {

std::string hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", unsigned(c));
    return text;
}

std::string point(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }

std::string quoted(std::u16string_view text, TextFont font) {
    std::string out = font == TextFont::kGrid ? "g'" : font == TextFont::kGridItalic ? "i'" : "n'";
    for (char16_t c : text) out += c < 0x80 ? char(c) : '?';
    return out + "'";
}

}  // namespace

std::string describe(const PixelRect& r) { return point(r.left, r.top) + "," + point(r.right, r.bottom); }

void FakeSurface::put(int32_t x, int32_t y, uint32_t value) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels[size_t(y) * size_t(width_) + size_t(x)] = value;
}

void FakeSurface::selectGridFont(int32_t pixelSize) {
    log += "f" + std::to_string(pixelSize) + ";";
    glyph_ = pixelSize > 0 ? *FakeFonts::halfWide(pixelSize) : CellMetrics{8, 12};
}

void FakeSurface::fillRect(const PixelRect& r, Colour colour) {
    log += "F " + describe(r) + " " + hex(colour) + ";";
    for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y)
        for (int32_t x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) put(x, y, colour);
}

void FakeSurface::drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour, TextFont font) {
    log += "T " + point(x, y) + " " + hex(colour) + " " + quoted(text, font) + ";";
    const uint32_t slant = font == TextFont::kGridItalic ? 1 : 0;
    for (size_t i = 0; i < text.size(); ++i)
        for (uint32_t k = 0; k < 3 && text[i] != u' '; ++k)
            put(x + int32_t(i) * glyph_.width + int32_t((text[i] + k + slant) % uint32_t(glyph_.width)),
                y + int32_t((text[i] * 3 + k) % uint32_t(glyph_.height)), colour);
}

void FakeSurface::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    log += "L " + point(x1, y1) + "-" + point(x2, y2) + " " + hex(colour) + ";";
    for (int32_t x = x1; x < x2; ++x) put(x, y1, colour);  // the renderer draws across only
}

void FakeSurface::copyRect(const PixelRect& from, int32_t toX, int32_t toY) {
    log += "C " + describe(from) + ">" + point(toX, toY) + ";";
    const std::vector<uint32_t> before = pixels;
    for (int32_t y = std::max(from.top, 0); y < std::min(from.bottom, height_); ++y)
        for (int32_t x = std::max(from.left, 0); x < std::min(from.right, width_); ++x)
            put(toX + x - from.left, toY + y - from.top, before[size_t(y) * size_t(width_) + size_t(x)]);
}

void FakeSurface::invertRect(const PixelRect& r) {
    log += "I " + describe(r) + ";";
    for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y)
        for (int32_t x = std::max(r.left, 0); x < std::min(r.right, width_); ++x)
            pixels[size_t(y) * size_t(width_) + size_t(x)] ^= 0xFFFFFFu;
}

void FakeSurface::frameRect(const PixelRect& r, Colour colour) {
    log += "R " + describe(r) + " " + hex(colour) + ";";
    for (int32_t x = r.left; x < r.right; ++x) put(x, r.top, colour), put(x, r.bottom - 1, colour);
    for (int32_t y = r.top; y < r.bottom; ++y) put(r.left, y, colour), put(r.right - 1, y, colour);
}

TextExtent FakeSurface::measureText(std::u16string_view text, TextFont font) {
    log += "M " + quoted(text, font) + ";";
    return {int32_t(text.size()) * 8, 16};
}

DrawSurface* FakeHost::backBuffer(int32_t width, int32_t height) {
    screen.log.clear();
    if (!bufferAvailable) return nullptr;
    // A new buffer starts as garbage, as fresh GDI memory may.
    if (!buffer || buffer->pixels.size() != size_t(width) * size_t(height))
        buffer = std::make_unique<FakeSurface>(width, height, 0x00ABCDEFu);
    buffer->log.clear();
    return buffer.get();
}

bool FakeHost::copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width, int32_t height) {
    if (!layerCacheAvailable) return false;
    back.fillRect({0, 0, width, height}, rgb(45, 45, 45));
    back.fillRect(g.gridRect(), 0);
    drawUnderTextLayers(back, g);
    return true;
}

void FakeHost::drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) {
    if (!backgroundLoaded) return;
    for (int32_t y = g.y0; y < g.y0 + g.gridHeight(); ++y)
        surface.fillRect({g.x0, y, g.x0 + g.gridWidth(), y + 1}, rgb(0, 0, uint32_t(y * 7)));
}

void FakeHost::drawBellIndicator(DrawSurface& surface, const GridLayout& g) {
    surface.fillRect({g.x0 + (g.cols - 2) * g.cellWidth, g.y0, g.x0 + g.gridWidth(), g.y0 + 2 * g.cellHeight},
                     rgb(255, 200, 40));
}

void FakeHost::presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) {
    screen.log += "P " + point(left, top) + " " + point(width, height) + ";";
}

}  // namespace orvane
