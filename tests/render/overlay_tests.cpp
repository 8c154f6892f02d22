#include <gtest/gtest.h>

#include "render/overlays.h"
#include "render_fakes.h"

namespace orvane {
namespace {

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
        {{1, 5}, {3, 10}, threeRows},
        {{3, 10}, {1, 5}, threeRows},
        {{2, 4}, {2, 1}, "11,37,43,53;"},
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
