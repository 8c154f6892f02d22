#pragma once
// A tiny software rasteriser behind the drawing interface, so that the
// picture a sequence of paints leaves in the back buffer can be compared
// pixel for pixel with a fresh full paint. Glyphs are a few pixels placed by
// the character code: different text gives different pixels.
#include <cstdint>
#include <memory>
#include <vector>

#include "render/paint_terminal.h"
#include "render_fakes.h"

namespace orvane {

class RasterSurface : public DrawSurface {
public:
    RasterSurface(int32_t width, int32_t height, uint32_t initial);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    const std::vector<uint32_t>& pixels() const { return pixels_; }

    void selectGridFont(int32_t pixelSize) override;
    void fillRect(const PixelRect& r, Colour colour) override;
    void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour,
                  TextFont font) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) override;
    void copyRect(const PixelRect& from, int32_t toX, int32_t toY) override;
    void invertRect(const PixelRect& r) override;
    void frameRect(const PixelRect& r, Colour colour) override;
    TextExtent measureText(std::u16string_view text, TextFont font) override;

private:
    void put(int32_t x, int32_t y, uint32_t value);
    PixelRect clipped(const PixelRect& r) const;

    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    CellMetrics glyph_{8, 16};
};

// A window whose back buffer survives between paints, as the GDI one does;
// the background image is a pattern and the layer cache draws the same
// layers in one step.
class RasterPaintHost : public PaintHost {
public:
    RasterSurface screen{1, 1, 0};
    std::unique_ptr<RasterSurface> buffer;
    FakeFonts fonts;
    bool backgroundLoaded = false;
    bool layerCacheAvailable = false;

    DrawSurface& target() override { return screen; }
    DrawSurface* backBuffer(int32_t width, int32_t height) override;
    FontMetricsSource& fontMetrics() override { return fonts; }
    bool backgroundImageLoaded() override { return backgroundLoaded; }
    bool copyLayerCache(DrawSurface& back, const GridLayout& g, int32_t width,
                        int32_t height) override;
    void drawUnderTextLayers(DrawSurface& surface, const GridLayout& g) override;
    void drawBellIndicator(DrawSurface& surface, const GridLayout& g) override;
    void presentBackBuffer(int32_t, int32_t, int32_t, int32_t) override {}
};

}  // namespace orvane
