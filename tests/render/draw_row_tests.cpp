#include <gtest/gtest.h>

#include "render/draw_row.h"
#include "render_fakes.h"

namespace orvane {
namespace {

// Row 1 at x0 = 3, y0 = 5 with 8 x 16 cells spans y 21..37.
std::string fill(int32_t l, int32_t r, const char* colour) {
    return "F " + std::to_string(l) + ",21," + std::to_string(r) + ",37 " + colour + ";";
}
std::string text(int32_t x, const char* colour, const char* s, const char* font = "g") {
    return "T " + std::to_string(x) + ",21 " + colour + " " + font + "'" + s + "';";
}

enum RowSetup { kPlain, kHiddenPhase, kBackgroundImage, kKeyColour, kCanvasColourNoKey };

TEST(DrawRow, RunsOfEqualAttributesWithTheirColours) {
    const char* black = "000000";
    const char* grey = "c0c0c0";
    const char* red = "000080";
    const char* brightRed = "0000ff";
    const struct { const char* what; const char* sgr; RowSetup setup; std::string ops; } cases[] = {
        {"one run, characters may differ", "ab ", kPlain, fill(3, 27, black) + text(3, grey, "ab ")},
        {"a new run at each attribute change", "a\x1b[31mbc\x1b[0;41md", kPlain,
         fill(3, 11, black) + text(3, grey, "a") + fill(11, 27, black) + text(11, red, "bc") + fill(27, 35, red) +
             text(27, grey, "d")},
        {"bold brightens indexes 0-7 only", "\x1b[1;31ma\x1b[91mb\x1b[22mc", kPlain,
         fill(3, 11, black) + text(3, brightRed, "a") + fill(11, 19, black) + text(11, brightRed, "b") +
             fill(19, 27, black) + text(19, brightRed, "c")},
        {"bold with a direct colour", "\x1b[1;38;2;86;52;18ma", kPlain, fill(3, 11, black) + text(3, "123456", "a")},
        {"direct background", "\x1b[48;2;192;176;160ma", kPlain, fill(3, 11, "a0b0c0") + text(3, grey, "a")},
        {"dim averages each channel with the background", "\x1b[2;41ma", kPlain,
         fill(3, 11, red) + text(3, "6060a0", "a")},
        {"dim after bold", "\x1b[1;2;30;47ma", kPlain, fill(3, 11, grey) + text(3, "a0a0a0", "a")},
        {"italic", "\x1b[3ma", kPlain, fill(3, 11, black) + text(3, grey, "a", "i")},
        {"underline at the bottom pixel row, strike through the middle", "\x1b[4ma\x1b[24;9mb", kPlain,
         fill(3, 11, black) + text(3, grey, "a") + "L 3,36-11,36 c0c0c0;" + fill(11, 19, black) +
             text(11, grey, "b") + "L 11,29-19,29 c0c0c0;"},
        {"hidden phase: blinking text and its line go, the background and steady text stay",
         "\x1b[5;4ma\x1b[0mb", kHiddenPhase, fill(3, 11, black) + fill(11, 19, black) + text(11, grey, "b")},
        {"visible phase shows blinking text", "\x1b[5ma", kPlain, fill(3, 11, black) + text(3, grey, "a")},
        {"background image: index 0 shows it, direct black does not", "a\x1b[48;2;0;0;0mb\x1b[0;41mc",
         kBackgroundImage, text(3, grey, "a") + fill(11, 19, black) + text(11, grey, "b") + fill(19, 27, red) +
             text(19, grey, "c")},
        {"key colour: matching background and text (after dimming) left out",
         "\x1b[41ma\x1b[0;31;4mb\x1b[0;2;91;48;2;1;0;0mc", kKeyColour,
         text(3, grey, "a") + fill(11, 19, black) + fill(19, 27, "000001")},
        {"key colour off: the same colour is drawn", "\x1b[41ma", kCanvasColourNoKey,
         fill(3, 11, red) + text(3, grey, "a")},
    };
    for (const auto& c : cases) {
        Terminal t;
        const std::string bytes = std::string("\x1b[2;1H") + c.sgr;
        feed(t, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        t.grid[1].resize(size_t(t.cursorCol));
        t.blinkPhase = c.setup != kHiddenPhase;
        t.glass.keyColourSet = c.setup == kKeyColour;
        if (c.setup >= kKeyColour) t.glass.canvasBackground = 0x000080;
        FakeSurface s;
        drawRow(t, s, 1, 3, 5, {8, 16}, underTextOf(t, c.setup == kBackgroundImage));
        EXPECT_EQ(s.log, c.ops) << c.what;
    }
}

TEST(DrawRow, PaletteAndRowPlacement) {
    Terminal t;
    setPalette(t, "PuTTY");
    t.grid[24][79].fg = 2;
    FakeSurface s;
    drawRow(t, s, 24, 0, 0, {6, 10}, {});
    EXPECT_TRUE(s.log.starts_with("F 0,240,474,250 000000;")) << s.log;
    EXPECT_TRUE(s.log.ends_with("T 474,240 00bb00 g' ';")) << s.log;
    EXPECT_EQ(attributeRunLength(t.grid[24], 79), 1);
}

}  // namespace
}  // namespace orvane
