#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// One character position of the grid. A plain value, copied freely; reverse
// video is resolved when the cell is written, so there is no flag for it.
struct Cell {
    char16_t ch = u' ';
    uint8_t fg = 7;
    uint8_t bg = 0;
    uint8_t bold = 0;
    uint8_t underline = 0;
    uint8_t dim = 0;
    uint8_t italic = 0;
    uint8_t blink = 0;
    uint8_t strike = 0;
    uint8_t fgDirect = 0;
    uint8_t bgDirect = 0;
    uint32_t fgRgb = 0;  // 0x00BBGGRR
    uint32_t bgRgb = 0;  // 0x00BBGGRR

    friend bool operator==(const Cell&, const Cell&) = default;
};

// White on black, no attributes: what scrolling, resets and the alternate
// screen bring in.
inline constexpr Cell kDefaultBlank{};

using Row = std::vector<Cell>;

}  // namespace orvane
