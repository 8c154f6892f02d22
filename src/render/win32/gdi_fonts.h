#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "render/draw_surface.h"

namespace orvane {

// "Consolas" at a character height of pixelSize pixels, as the cell font fit
// makes it; null when it cannot be created.
HFONT createConsolas(int32_t pixelSize, bool italic);
// The notice box's font: "Consolas" 16 px, semi-bold, ClearType.
HFONT createNoticeFont();

// The cell of the font selected in dc: average width, height plus external
// leading plus one.
CellMetrics cellOfSelectedFont(HDC dc);

// The fitted cell font and its italic companion, kept across paints and
// remade only when the fitted size changes. Size 0, or a regular font that
// cannot be made, means the stock OEM fixed font (which is never deleted).
class GridFonts {
public:
    GridFonts() = default;
    GridFonts(const GridFonts&) = delete;
    GridFonts& operator=(const GridFonts&) = delete;
    ~GridFonts();

    void ensure(int32_t pixelSize);
    HFONT regular() const;
    // The italic companion, or the regular font when there is none.
    HFONT italic() const;
    void release();

private:
    std::optional<int32_t> pixelSize_;
    HFONT regular_ = nullptr;
    HFONT italic_ = nullptr;
};

// Measures candidate fonts for the fit on a device context.
class GdiFontMetrics final : public FontMetricsSource {
public:
    explicit GdiFontMetrics(HDC dc) : dc_(dc) {}
    std::optional<CellMetrics> measureConsolas(int32_t pixelSize) override;
    CellMetrics oemFixedMetrics() override;

private:
    HDC dc_;
};

}  // namespace orvane
