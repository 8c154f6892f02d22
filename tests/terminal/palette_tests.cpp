#include <gtest/gtest.h>

#include "terminal/terminal.h"

namespace orvane {
namespace {

uint32_t rrggbb(uint32_t v) { return rgb(v >> 16, v >> 8, v); }

TEST(Palette, NamesAreExactAndUnknownMeansVga) {
    Terminal t;
    setPalette(t, "Campbell");
    EXPECT_EQ(t.palette, &kCampbellPalette);
    setPalette(t, "PuTTY");
    EXPECT_EQ(t.palette, &kPuttyPalette);
    for (const char* other : {"putty", "VGA", "campbell", ""}) {
        setPalette(t, other);
        EXPECT_EQ(t.palette, &kVgaPalette) << other;
    }
}

TEST(Palette, TablesStoreRedInTheLowByte) {
    EXPECT_EQ(kCampbellPalette[1], rrggbb(0xC50F1F));
    EXPECT_EQ(kCampbellPalette[12], rrggbb(0x3B78FF));
    EXPECT_EQ(kVgaPalette[4], 0x00800000u);  // blue 0x80 in the third byte
    EXPECT_EQ(kPuttyPalette[9], rrggbb(0xFF5555));
    EXPECT_EQ(kPuttyPalette[15], 0x00FFFFFFu);
}

TEST(Palette, CellColoursFollowThePaletteUnlessDirect) {
    Terminal t;
    const std::string bytes = "\x1b[38;5;1mA\x1b[38;5;196mB\x1b[48;2;1;2;3mC";
    feed(t, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const Row& row = t.grid[0];
    EXPECT_EQ(cellForeground(row[0], kCampbellPalette), rrggbb(0xC50F1F));
    EXPECT_EQ(cellForeground(row[0], kPuttyPalette), rrggbb(0xBB0000));
    for (const Palette* p : {&kCampbellPalette, &kVgaPalette, &kPuttyPalette}) {
        EXPECT_EQ(cellForeground(row[1], *p), rrggbb(0xFF0000));
        EXPECT_EQ(cellBackground(row[2], *p), rrggbb(0x010203));
        EXPECT_EQ(cellBackground(row[0], *p), (*p)[0]);
    }
}

TEST(Palette, Xterm256CubeAndGreys) {
    EXPECT_EQ(xterm256Colour(16), 0u);
    EXPECT_EQ(xterm256Colour(21), rrggbb(0x0000FF));
    EXPECT_EQ(xterm256Colour(231), rrggbb(0xFFFFFF));
    EXPECT_EQ(xterm256Colour(110), rrggbb(0x87AFD7));
    for (uint32_t n = 232; n < 256; ++n) {
        const uint32_t g = 8 + 10 * (n - 232);
        EXPECT_EQ(xterm256Colour(n), rgb(g, g, g)) << n;
    }
}

}  // namespace
}  // namespace orvane
