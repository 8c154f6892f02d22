#include <gtest/gtest.h>

#include "render/overlays.h"
#include "render_fakes.h"

namespace orvane {
namespace {

// 80 x 25 grid of 8 x 16 cells at (3, 5): cell (r, c) starts at (3 + 8c, 5 + 16r).
const GridLayout kGrid{3, 5, 8, 16, 80, 25};

std::vector<std::string> described(const std::vector<PixelRect>& rects) {
    std::vector<std::string> out;
    for (const PixelRect& r : rects) out.push_back(describe(r));
    return out;
}

TEST(Overlays, CursorStylesClampingAndBlink) {
    struct Case {
        const char* what;
        int32_t style, row, col;
        uint8_t visible, blink, phase;
        std::vector<std::string> strips;
    };
    const std::vector<Case> cases = {
        {"block", 0, 0, 0, 1, 1, 1, {"3,5,11,21"}},
        {"outline: top, bottom, left, right", 1, 1, 2, 1, 1, 1,
         {"19,21,27,22", "19,36,27,37", "19,21,20,37", "26,21,27,37"}},
        {"double underline", 2, 1, 2, 1, 0, 1, {"19,36,27,37", "19,34,27,35"}},
        {"unknown style is a block", 7, 1, 2, 1, 0, 1, {"19,21,27,37"}},
        {"below and right of the grid: last cell", 0, 30, 100, 1, 0, 1, {"635,389,643,405"}},
        {"above and left of the grid: first cell", 0, -3, -1, 1, 0, 1, {"3,5,11,21"}},
        {"hidden cursor", 0, 0, 0, 0, 0, 1, {}},
        {"blinking, hidden half", 0, 0, 0, 1, 1, 0, {}},
        {"not blinking, phase off", 0, 0, 0, 1, 0, 0, {"3,5,11,21"}},
    };
    for (const Case& c : cases) {
        Terminal t;
        t.cursorStyle = c.style;
        t.cursorRow = c.row;
        t.cursorCol = c.col;
        t.cursorVisible = c.visible;
        t.cursorBlink = c.blink;
        t.blinkPhase = c.phase;
        EXPECT_EQ(described(cursorStrips(t, kGrid)), c.strips) << c.what;
    }
}

TEST(Overlays, SelectionBandsInReadingOrderEitherDirection) {
    struct Case {
        CellPos anchor, caret;
        std::vector<std::string> bands;
    };
    const std::vector<std::string> threeRows = {"43,21,643,37", "3,37,643,53", "3,53,91,69"};
    const std::vector<Case> cases = {
        {{1, 5}, {3, 10}, threeRows},
        {{3, 10}, {1, 5}, threeRows},
        {{2, 4}, {2, 1}, {"11,37,43,53"}},
        {{2, 1}, {2, 4}, {"11,37,43,53"}},
        {{0, 0}, {24, 79}, {}},  // checked by count below
        {{23, 78}, {40, 3}, {"627,373,643,389", "3,389,643,405"}},  // stops at the last row
    };
    for (const Case& c : cases) {
        Terminal t;
        t.selectionPresent = 1;
        t.selectionAnchor = c.anchor;
        t.selectionCaret = c.caret;
        const auto bands = described(selectionBands(t, kGrid));
        if (c.caret == CellPos{24, 79}) {
            ASSERT_EQ(bands.size(), 25u);
            EXPECT_EQ(bands.back(), "3,389,643,405");
        } else {
            EXPECT_EQ(bands, c.bands) << c.anchor.row << "," << c.anchor.col;
        }
        t.selectionPresent = 0;
        EXPECT_TRUE(selectionBands(t, kGrid).empty());
    }
}

TEST(Overlays, NoticeShowsUntilItsTickWithWrap) {
    struct Case {
        uint32_t until, now;
        const char16_t* text;
        bool showing;
    };
    const std::vector<Case> cases = {
        {0, 100, u"hi", false},          {101, 100, u"hi", true},
        {100, 100, u"hi", false},        {99, 100, u"hi", false},
        {0x10, 0xFFFFFFF0u, u"hi", true},  // across the wrap
        {0xFFFFFFF0u, 0x10, u"hi", false},
        {1700, 100, u"", false},
    };
    for (const Case& c : cases) {
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
    RecordingSurface s;
    drawOverlays(t, kGrid, s, 1000);
    // The box: left 13, bottom 5 + 400 - 10; 9 characters measure 72 x 16.
    const std::vector<std::string> expected = {
        "invert 27,37,35,53",   "invert 11,5,27,21",       "measure n 'Connected'",
        "fill 13,363,101,395 141414", "frame 13,363,101,395 5a5a5a",
        "text 21,371 82ebeb n 'Connected'",
    };
    EXPECT_EQ(s.ops, expected);
    EXPECT_EQ(describe(noticeBox(kGrid, {0, 0})), "13,379,29,395");
}

}  // namespace
}  // namespace orvane
