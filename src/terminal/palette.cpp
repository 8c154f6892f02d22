#include "terminal/palette.h"

#include "terminal/cell.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

// Tables are written as 0xRRGGBB for reading; stored as 0x00BBGGRR.
constexpr uint32_t fromRrggbb(uint32_t v) {
    return rgb(v >> 16, v >> 8, v);
}

constexpr Palette makePalette(const std::array<uint32_t, 16>& rrggbb) {
    Palette p{};
    for (size_t i = 0; i < p.size(); ++i) p[i] = fromRrggbb(rrggbb[i]);
    return p;
}

// Level l of the 6x6x6 cube: 0, 95, 135, 175, 215, 255.
constexpr uint32_t cubeLevel(uint32_t l) { return l == 0 ? 0 : 55 + 40 * l; }

}  // namespace

const Palette kCampbellPalette = makePalette({
    0x0C0C0C, 0xC50F1F, 0x13A10E, 0xC19C00, 0x0037DA, 0x881798, 0x3A96DD, 0xCCCCCC,
    0x767676, 0xE74856, 0x16C60C, 0xF9F1A5, 0x3B78FF, 0xB4009E, 0x61D6D6, 0xF2F2F2,
});

const Palette kVgaPalette = makePalette({
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
});

const Palette kPuttyPalette = makePalette({
    0x000000, 0xBB0000, 0x00BB00, 0xBBBB00, 0x0000BB, 0xBB00BB, 0x00BBBB, 0xBBBBBB,
    0x555555, 0xFF5555, 0x55FF55, 0xFFFF55, 0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF,
});

const Palette& paletteByName(std::string_view name) {
    if (name == "Campbell") return kCampbellPalette;
    if (name == "PuTTY") return kPuttyPalette;
    return kVgaPalette;
}

uint32_t cellForeground(const Cell& cell, const Palette& palette) {
    return cell.fgDirect ? cell.fgRgb : palette[cell.fg & 15u];
}

uint32_t cellBackground(const Cell& cell, const Palette& palette) {
    return cell.bgDirect ? cell.bgRgb : palette[cell.bg & 15u];
}

uint32_t xterm256Colour(uint32_t n) {
    if (n < 232) {
        const uint32_t c = n - 16;
        return rgb(cubeLevel(c / 36), cubeLevel((c / 6) % 6), cubeLevel(c % 6));
    }
    const uint32_t grey = (2 * ((5 * n) % 256) - 8) % 256;
    return rgb(grey, grey, grey);
}

void setPalette(Terminal& t, const std::string& name) {
    t.palette = &paletteByName(name);
}

}  // namespace orvane
