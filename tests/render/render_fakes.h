#pragma once
// Test doubles for the renderer: one surface that writes every call into a
// compact log and, when it has a size, also rasterises it (glyphs are a few
// pixels placed by the character code), fonts by formula, and a paint host
// whose back buffer survives between paints as the GDI one does.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/paint_terminal.h"

namespace orvane {

std::string describe(const PixelRect& r);  // "l,t,r,b"

// Log entries end in ';': "F l,t,r,b colour" fill, "T x,y colour font'text'"
// (font g, i or n), "L x1,y1-x2,y2 colour", "C from>x,y" copy, "I rect"
// invert, "R rect colour" frame, "M n'text'" measure, "f16" grid font.
// Colours are 0x00BBGGRR in hex.
class FakeSurface : public DrawSurface {
public:
    explicit FakeSurface(int32_t width = 0, int32_t height = 0, uint32_t initial = 0)
        : pixels(size_t(width) * size_t(height), initial), width_(width), height_(height) {}
    std::string log;
    std::vector<uint32_t> pixels;

    void selectGridFont(int32_t pixelSize) override;
    void fillRect(const PixelRect& r, Colour colour) override;
    void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour, TextFont font) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) override;
    void copyRect(const PixelRect& from, int32_t toX, int32_t toY) override;
    void invertRect(const PixelRect& r) override;
    void frameRect(const PixelRect& r, Colour colour) override;
    TextExtent measureText(std::u16string_view text, TextFont font) override;  // 8 x 16 a character

private:
    void put(int32_t x, int32_t y, uint32_t value);
    int32_t width_, height_;
    CellMetrics glyph_{8, 16};
};

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

// The logs hold the last paint only. Layers under the text are stripes one
// pixel high, so a shifted picture shows; the layer cache draws the same.
class FakeHost : public PaintHost {
public:
    FakeSurface screen;
    std::unique_ptr<FakeSurface> buffer;
    FakeFonts fonts;
    bool bufferAvailable = true, layerCacheAvailable = false, backgroundLoaded = false;
    int64_t ticks = 0;

    DrawSurface& target() override { return screen; }
    DrawSurface* backBuffer(int32_t width, int32_t height) override;
    FontMetricsSource& fontMetrics() override { return fonts; }
    bool backgroundImageLoaded() override { return backgroundLoaded; }
    bool copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width, int32_t height) override;
    void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) override;
    void drawBellIndicator(DrawSurface& surface, const GridLayout& g) override;
    void presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) override;
    int64_t counterTicks() override { return ++ticks; }  // each reading one more
};

}  // namespace orvane
