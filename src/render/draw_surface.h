#pragma once
// The seam between the renderer's decisions and the pixels. The portable
// renderer decides what goes where and says it through these calls; the
// Windows layer implements them with GDI on a memory bitmap or a window's
// device context, and native tests record them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// 0x00BBGGRR, red in the low byte, as everywhere in the program.
using Colour = uint32_t;

// Pixels; right and bottom are exclusive.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct TextExtent {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

// Which font a text call uses.
enum class TextFont : uint8_t {
    kGrid,        // the fitted cell font (or the stock OEM fixed font)
    kGridItalic,  // its italic companion; the cell font when there is none
    kNotice,      // "Consolas", 16 px, weight 600, ClearType: the notice box
};

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // Makes the cell font of this pixel size current for kGrid/kGridItalic
    // until the surface is done; 0 means the stock OEM fixed font.
    virtual void selectGridFont(int32_t pixelSize) = 0;

    virtual void fillRect(const PixelRect& r, Colour colour) = 0;

    // Text with a transparent background, top-left corner at (x, y).
    virtual void drawText(int32_t x, int32_t y, std::u16string_view text, Colour colour,
                          TextFont font) = 0;

    // A one-pixel solid line; the end point is not drawn.
    virtual void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) = 0;

    // Copies the pixels of `from` to (toX, toY) inside this same surface
    // (the scroll of the previous picture).
    virtual void copyRect(const PixelRect& from, int32_t toX, int32_t toY) = 0;

    // Inverts every pixel of r (drawing twice restores it).
    virtual void invertRect(const PixelRect& r) = 0;

    // A one-pixel frame along the inside of r.
    virtual void frameRect(const PixelRect& r, Colour colour) = 0;

    virtual TextExtent measureText(std::u16string_view text, TextFont font) = 0;
};

// A fitted font's cell: average character width; height plus external
// leading plus one.
struct CellMetrics {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const CellMetrics&, const CellMetrics&) = default;
};

// Font measurement for the fit. The Windows layer creates "Consolas" at a
// character height of pixelSize pixels (weight 400, fixed pitch, modern
// family), measures it and deletes it again.
class FontMetricsSource {
public:
    virtual ~FontMetricsSource() = default;
    // Empty when the font could not be created.
    virtual std::optional<CellMetrics> measureConsolas(int32_t pixelSize) = 0;
    // The stock OEM fixed font's cell, by the same rule.
    virtual CellMetrics oemFixedMetrics() = 0;
};

}  // namespace orvane
