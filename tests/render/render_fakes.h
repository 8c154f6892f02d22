#pragma once
// Test doubles for the renderer: a surface that writes every call down as a
// line of text, a font source with simple proportional metrics, and a paint
// host that lets each test refuse a back buffer or offer a layer cache.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/draw_surface.h"
#include "render/paint_terminal.h"

namespace orvane {

std::string describe(const PixelRect& r);
// ASCII only; other code units become '?'.
std::string narrow(std::u16string_view text);

// Lines like "fill 3,3,83,19 000000", "text 3,3 c0c0c0 g 'ab'",
// "line 3,18-83,18 c0c0c0", "copy 3,19,83,67 to 3,3", "invert ...",
// "frame ... 5a5a5a", "measure 'hi'", "font 16". Colours are the raw
// 0x00BBGGRR value in hex.
class RecordingSurface : public DrawSurface {
public:
    std::vector<std::string> ops;

    void selectGridFont(int32_t pixelSize) override;
    void fillRect(const PixelRect& r, Colour colour) override;
    void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour,
                  TextFont font) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) override;
    void copyRect(const PixelRect& from, int32_t toX, int32_t toY) override;
    void invertRect(const PixelRect& r) override;
    void frameRect(const PixelRect& r, Colour colour) override;
    // Eight pixels per character, sixteen high.
    TextExtent measureText(std::u16string_view text, TextFont font) override;

    // The lines starting with `prefix`.
    std::vector<std::string> opsStartingWith(const std::string& prefix) const;
};

// Metrics by formula; records the sizes asked for.
class FakeFonts : public FontMetricsSource {
public:
    using Formula = std::function<std::optional<CellMetrics>(int32_t)>;
    explicit FakeFonts(Formula formula = halfWide, CellMetrics oem = {8, 12})
        : formula_(std::move(formula)), oem_(oem) {}

    std::optional<CellMetrics> measureConsolas(int32_t pixelSize) override {
        asked.push_back(pixelSize);
        return formula_(pixelSize);
    }
    CellMetrics oemFixedMetrics() override { return oem_; }

    // Width p / 2, height p: an 80 x 25 grid at 16 px is exactly 640 x 400.
    static std::optional<CellMetrics> halfWide(int32_t p) { return CellMetrics{p / 2, p}; }

    std::vector<int32_t> asked;

private:
    Formula formula_;
    CellMetrics oem_;
};

class FakePaintHost : public PaintHost {
public:
    RecordingSurface screen;
    RecordingSurface buffer;
    FakeFonts fonts;
    bool bufferAvailable = true;
    bool layerCacheAvailable = false;
    bool backgroundLoaded = false;
    int64_t ticks = 0;

    DrawSurface& target() override { return screen; }
    DrawSurface* backBuffer(int32_t width, int32_t height) override;
    FontMetricsSource& fontMetrics() override { return fonts; }
    bool backgroundImageLoaded() override { return backgroundLoaded; }
    bool copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width,
                        int32_t height) override;
    void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) override;
    void drawBellIndicator(DrawSurface& surface, const GridLayout& g) override;
    void presentBackBuffer(int32_t left, int32_t top, int32_t width, int32_t height) override;
    // Every reading advances by one, so phases can be told apart.
    int64_t counterTicks() override { return ++ticks; }

    void clearLogs() {
        screen.ops.clear();
        buffer.ops.clear();
    }
};

}  // namespace orvane
