#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane {

struct Cell;

// Sixteen colours, 0x00BBGGRR: black, red, green, yellow, blue, magenta,
// cyan, white, then the bright versions in the same order.
using Palette = std::array<uint32_t, 16>;

extern const Palette kCampbellPalette;
extern const Palette kVgaPalette;
extern const Palette kPuttyPalette;

// Exact, case-sensitive names; anything unknown is the VGA table.
const Palette& paletteByName(std::string_view name);

// The colours a cell is drawn with before the renderer's bold/dim rules.
uint32_t cellForeground(const Cell& cell, const Palette& palette);
uint32_t cellBackground(const Cell& cell, const Palette& palette);

// Direct colour for a 256-colour index of 16 or more (cube or grey ramp).
uint32_t xterm256Colour(uint32_t index);

// Channels to 0x00BBGGRR.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

}  // namespace orvane
