#include <gtest/gtest.h>

#include "render/draw_row.h"
#include "render/overlays.h"
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
    const char *black = "000000", *grey = "c0c0c0", *red = "000080", *brightRed = "0000ff";
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



// 80 x 25 grid of 8 x 16 cells at (3, 5): cell (r, c) starts at (3 + 8c, 5 + 16r).
const GridLayout kGrid{3, 5, 8, 16, 80, 25};

std::string described(const std::vector<PixelRect>& rects) {
    std::string out;
    for (const PixelRect& r : rects) out += describe(r) + ";";
    return out;
}

TEST(Overlays, CursorStylesClampingAndBlink) {
    const struct { int32_t style, row, col; uint8_t visible, blink, phase; const char* strips; } cases[] = {
        {0, 0, 0, 1, 1, 1, "3,5,11,21;"},                                             // block
        {1, 1, 2, 1, 1, 1, "19,21,27,22;19,36,27,37;19,21,20,37;26,21,27,37;"},       // outline
        {2, 1, 2, 1, 0, 1, "19,36,27,37;19,34,27,35;"},                               // double underline
        {7, 1, 2, 1, 0, 1, "19,21,27,37;"},                                           // unknown: block
        {0, 30, 100, 1, 0, 1, "635,389,643,405;"},  // below and right of the grid: last cell
        {0, -3, -1, 1, 0, 1, "3,5,11,21;"},         // above and left: first cell
        {0, 0, 0, 0, 0, 1, ""},                     // hidden
        {0, 0, 0, 1, 1, 0, ""},                     // blinking, off phase
        {0, 0, 0, 1, 0, 0, "3,5,11,21;"},           // steady in the off phase
    };
    for (const auto& c : cases) {
        Terminal t;
        t.cursorStyle = c.style;
        t.cursorRow = c.row;
        t.cursorCol = c.col;
        t.cursorVisible = c.visible;
        t.cursorBlink = c.blink;
        t.blinkPhase = c.phase;
        EXPECT_EQ(described(cursorStrips(t, kGrid)), c.strips) << c.style << " " << c.row << "," << c.col;
    }
}

TEST(Overlays, SelectionBandsInReadingOrderEitherDirection) {
    const std::string threeRows = "43,21,643,37;3,37,643,53;3,53,91,69;";
    const struct { CellPos anchor, caret; std::string bands; } cases[] = {
        {{1, 5}, {3, 10}, threeRows}, {{3, 10}, {1, 5}, threeRows}, {{2, 4}, {2, 1}, "11,37,43,53;"},
        {{2, 1}, {2, 4}, "11,37,43,53;"},
        {{23, 78}, {40, 3}, "627,373,643,389;3,389,643,405;"},  // stops at the last row
    };
    for (const auto& c : cases) {
        Terminal t;
        t.selectionPresent = 1;
        t.selectionAnchor = c.anchor;
        t.selectionCaret = c.caret;
        EXPECT_EQ(described(selectionBands(t, kGrid)), c.bands) << c.anchor.row << "," << c.anchor.col;
        t.selectionPresent = 0;
        EXPECT_TRUE(selectionBands(t, kGrid).empty());
    }
}

TEST(Overlays, NoticeShowsUntilItsTickWithWrap) {
    const struct { uint32_t until, now; const char16_t* text; bool showing; } cases[] = {
        {0, 100, u"hi", false},          {101, 100, u"hi", true}, {100, 100, u"hi", false},
        {0x10, 0xFFFFFFF0u, u"hi", true},  // across the wrap
        {0xFFFFFFF0u, 0x10, u"hi", false}, {1700, 100, u"", false},
    };
    for (const auto& c : cases) {
        Terminal t;
        t.noticeUntil = c.until;
        t.noticeText = c.text;
        EXPECT_EQ(noticeShowing(t, c.now), c.showing) << c.until << " at " << c.now;
    }
}

TEST(Overlays, DrawnInOrderCursorSelectionNotice) {
    Terminal t;
    t.cursorRow = 2;
    t.cursorCol = 3;
    t.selectionPresent = 1;
    t.selectionAnchor = {0, 1};
    t.selectionCaret = {0, 2};
    t.noticeText = u"Connected";
    t.noticeUntil = 2600;
    FakeSurface s;
    drawOverlays(t, kGrid, s, 1000);
    // The box: left 13, bottom 5 + 400 - 10; 9 characters measure 72 x 16.
    EXPECT_EQ(s.log, "I 27,37,35,53;I 11,5,27,21;M n'Connected';F 13,363,101,395 141414;R 13,363,101,395 5a5a5a;"
                     "T 21,371 82ebeb n'Connected';");
    EXPECT_EQ(describe(noticeBox(kGrid, {0, 0})), "13,379,29,395");
}

}  // namespace
}  // namespace orvane
