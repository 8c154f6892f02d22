#pragma once
// Test doubles for the renderer: one surface that writes every call into a compact log and,
// when it has a size, rasterises what the back buffer receives (glyphs are a few pixels placed
// by the character code); fonts by formula; a paint host whose back buffer survives between
// paints as the GDI one does.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/paint_terminal.h"

namespace orvane {

inline std::string point(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
inline std::string describe(const PixelRect& r) { return point(r.left, r.top) + "," + point(r.right, r.bottom); }

class FakeFonts : public FontMetricsSource {
public:
    using Formula = std::function<std::optional<CellMetrics>(int32_t)>;
    // Width p / 2, height p: an 80 x 25 grid at 16 px is exactly 640 x 400.
    static std::optional<CellMetrics> halfWide(int32_t p) { return CellMetrics{p / 2, p}; }
    explicit FakeFonts(Formula formula = halfWide, CellMetrics oem = {8, 12}) : formula_(std::move(formula)), oem_(oem) {}
    std::optional<CellMetrics> measureConsolas(int32_t pixelSize) override {
        asked.push_back(pixelSize);
        return formula_(pixelSize);
    }
    CellMetrics oemFixedMetrics() override { return oem_; }
    std::vector<int32_t> asked;

private:
    Formula formula_;
    CellMetrics oem_;
};

// Log entries end in ';': "F rect colour" fill, "T x,y colour g'text'" (font g, i or n),
// "L x1,y1-x2,y2 colour", "C rect>x,y" copy, "I rect" invert, "R rect colour" frame,
// "M n'text'" measure, "f16" grid font. Colours are 0x00BBGGRR in hex. Inverting, framing
// and measuring happen on the screen only and are not rasterised.
class FakeSurface : public DrawSurface {
public:
    explicit FakeSurface(int32_t width = 0, int32_t height = 0, uint32_t initial = 0)
        : pixels(size_t(width) * size_t(height), initial), width_(width), height_(height) {}
    std::string log;
    std::vector<uint32_t> pixels;

    void selectGridFont(int32_t pixelSize) override {
        log += "f" + std::to_string(pixelSize) + ";";
        glyph_ = pixelSize > 0 ? *FakeFonts::halfWide(pixelSize) : CellMetrics{8, 12};
    }
    void fillRect(const PixelRect& r, Colour colour) override {
        log += "F " + describe(r) + " " + hex(colour) + ";";
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x) put(x, y, colour);
    }
    void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour, TextFont font) override {
        log += "T " + point(x, y) + " " + hex(colour) + " " + quoted(text, font) + ";";
        const uint32_t slant = font == TextFont::kGridItalic ? 1 : 0;
        for (size_t i = 0; i < text.size(); ++i)
            for (uint32_t k = 0; k < 3 && text[i] != u' '; ++k)
                put(x + int32_t(i) * glyph_.width + int32_t((text[i] + k + slant) % uint32_t(glyph_.width)),
                    y + int32_t((text[i] * 3 + k) % uint32_t(glyph_.height)), colour);
    }
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) override {
        log += "L " + point(x1, y1) + "-" + point(x2, y2) + " " + hex(colour) + ";";
        for (int32_t x = x1; x < x2; ++x) put(x, y1, colour);  // the renderer draws across only
    }
    void copyRect(const PixelRect& from, int32_t toX, int32_t toY) override {
        log += "C " + describe(from) + ">" + point(toX, toY) + ";";
        const std::vector<uint32_t> before = pixels;
        for (int32_t y = std::max(from.top, 0); y < std::min(from.bottom, height_); ++y)
            for (int32_t x = std::max(from.left, 0); x < std::min(from.right, width_); ++x)
                put(toX + x - from.left, toY + y - from.top, before[size_t(y) * size_t(width_) + size_t(x)]);
    }
    void invertRect(const PixelRect& r) override { log += "I " + describe(r) + ";"; }
    void frameRect(const PixelRect& r, Colour colour) override { log += "R " + describe(r) + " " + hex(colour) + ";"; }
    TextExtent measureText(std::u16string_view text, TextFont font) override {
        log += "M " + quoted(text, font) + ";";
        return {int32_t(text.size()) * 8, 16};
    }

private:
    static std::string hex(Colour c) {
        char text[16];
        std::snprintf(text, sizeof text, "%06x", unsigned(c));
        return text;
    }
    static std::string quoted(std::u16string_view text, TextFont font) {
        std::string out = font == TextFont::kGrid ? "g'" : font == TextFont::kGridItalic ? "i'" : "n'";
        for (char16_t c : text) out += c < 0x80 ? char(c) : '?';
        return out + "'";
    }
    void put(int32_t x, int32_t y, uint32_t value) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels[size_t(y) * size_t(width_) + size_t(x)] = value;
    }
    int32_t width_, height_;
    CellMetrics glyph_{8, 16};
};

// The logs hold the last paint only. Layers under the text are stripes one pixel high, so a
// shifted picture shows; the layer cache draws the same.
class FakeHost : public PaintHost {
public:
    FakeSurface screen;
    std::unique_ptr<FakeSurface> buffer;
    FakeFonts fonts;
    bool bufferAvailable = true, layerCacheAvailable = false, backgroundLoaded = false;
    int64_t ticks = 0;

    DrawSurface& target() override { return screen; }
    DrawSurface* backBuffer(int32_t width, int32_t height) override {
        screen.log.clear();
        if (!bufferAvailable) return nullptr;
        if (!buffer || buffer->pixels.size() != size_t(width) * size_t(height))  // new memory holds garbage
            buffer = std::make_unique<FakeSurface>(width, height, 0x00ABCDEFu);
        buffer->log.clear();
        return buffer.get();
    }
    FontMetricsSource& fontMetrics() override { return fonts; }
    bool backgroundImageLoaded() override { return backgroundLoaded; }
    bool copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width, int32_t height) override {
        if (!layerCacheAvailable) return false;
        back.fillRect({0, 0, width, height}, rgb(45, 45, 45));
        back.fillRect(g.gridRect(), 0);
        drawUnderTextLayers(back, g);
        return true;
    }
    void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) override {
        for (int32_t y = g.y0; backgroundLoaded && y < g.y0 + g.gridHeight(); ++y)
            surface.fillRect({g.x0, y, g.x0 + g.gridWidth(), y + 1}, rgb(0, 0, uint32_t(y * 7)));
    }
    void drawBellIndicator(DrawSurface& s, const GridLayout& g) override {
        s.fillRect({g.x0 + (g.cols - 2) * g.cellWidth, g.y0, g.x0 + g.gridWidth(), g.y0 + 2 * g.cellHeight},
                   rgb(255, 200, 40));
    }
    void presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) override {
        screen.log += "P " + point(left, top) + " " + point(width, height) + ";";
    }
    int64_t counterTicks() override { return ++ticks; }  // each reading one more
};

}  // namespace orvane
