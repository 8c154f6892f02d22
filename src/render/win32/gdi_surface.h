#pragma once

#include <windows.h>

#include "render/draw_surface.h"
#include "render/win32/gdi_fonts.h"

namespace orvane {

// The drawing interface on a GDI device context (a back buffer's memory
// context or a window's). Fills and lines use the context's own DC brush and
// pen, so nothing is created per call but the notice font. The font that was
// selected before the surface selected the grid font comes back at the end.
class GdiSurface final : public DrawSurface {
public:
    GdiSurface(HDC dc, GridFonts& fonts) : dc_(dc), fonts_(fonts) {}
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;
    ~GdiSurface() override;

    HDC dc() const { return dc_; }

    void selectGridFont(int32_t pixelSize) override;
    void fillRect(const PixelRect& r, Colour colour) override;
    void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour, TextFont font) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) override;
    void copyRect(const PixelRect& from, int32_t toX, int32_t toY) override;
    void invertRect(const PixelRect& r) override;
    void frameRect(const PixelRect& r, Colour colour) override;
    TextExtent measureText(std::u16string_view text, TextFont font) override;

private:
    // Runs draw with font selected (a fresh notice font is deleted after).
    template <class Draw>
    void withFont(TextFont font, Draw draw);

    HDC dc_;
    GridFonts& fonts_;
    HGDIOBJ originalFont_ = nullptr;
};

}  // namespace orvane
