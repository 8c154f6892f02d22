#include <gtest/gtest.h>

#include "render/font_fit.h"
#include "render/grid_layout.h"
#include "render/hit_test.h"
#include "render_fakes.h"

namespace orvane {
namespace {

std::optional<CellMetrics> tallFont(int32_t p) { return CellMetrics{p / 2, p + 3}; }
std::optional<CellMetrics> noneAbove14(int32_t p) { return p > 14 ? std::nullopt : tallFont(p); }
std::optional<CellMetrics> zeroWidth(int32_t p) { return CellMetrics{p / 8, p}; }

// The sizes asked for, "16..13" when they run down one by one; a new fit
// starts a new run.
std::string runs(const std::vector<int32_t>& asked) {
    std::string out;
    for (size_t i = 0; i < asked.size(); ++i) {
        if (i > 0 && asked[i] == asked[i - 1] - 1 && (i + 1 == asked.size() || asked[i + 1] != asked[i] - 1))
            out += ".." + std::to_string(asked[i]);
        else if (i == 0 || asked[i] != asked[i - 1] - 1)
            out += (i ? " " : "") + std::to_string(asked[i]);
    }
    return out;
}

TEST(FontFit, LargestSizeThatFitsElseOemNeverBelowOnePixel) {
    const struct { const char* what; FakeFonts::Formula formula; CellMetrics oem; int32_t width, height;
                   FontFit expected; const char* asked; } cases[] = {
        {"height decides", tallFont, {8, 12}, 646, 406, {13, {6, 16}}, "16..13"},
        {"width decides", tallFont, {8, 12}, 406, 406, {11, {5, 14}}, "16..11"},
        {"exact fit at the start size", FakeFonts::halfWide, {8, 12}, 646, 406, {16, {8, 16}}, "16"},
        {"one pixel short", FakeFonts::halfWide, {8, 12}, 645, 406, {15, {7, 15}}, "16..15"},
        {"creation failures are skipped", noneAbove14, {8, 12}, 1006, 806, {14, {7, 17}}, "32..14"},
        {"tiny window: OEM font", tallFont, {8, 12}, 200, 100, {0, {8, 12}}, "4"},
        {"window smaller than the border", tallFont, {8, 12}, 2, 2, {0, {8, 12}}, "4"},
        {"size 4 fits exactly", FakeFonts::halfWide, {9, 14}, 400, 106, {4, {2, 4}}, "4"},
        {"OEM metrics of zero become 1 x 1", tallFont, {0, 0}, 100, 50, {0, {1, 1}}, "4"},
        {"a zero-width font is held at 1", zeroWidth, {8, 12}, 100, 106, {4, {1, 4}}, "4"},
    };
    for (const auto& c : cases) {
        FakeFonts fonts(c.formula, c.oem);
        EXPECT_EQ(fitFont(fonts, 80, 25, c.width, c.height), c.expected) << c.what;
        EXPECT_EQ(runs(fonts.asked), c.asked) << c.what;
    }
}

TEST(FontFit, SnugSizeRefitsUntilTheCellStaysAtMostFourTimes) {
    const struct { int32_t cols, rows; PixelSize candidate, expected; const char* asked; } cases[] = {
        {80, 25, {1000, 500}, {646, 481}, "19..16 19..16"},  // 8 x 19 cells at once
        {80, 25, {10, 10}, {326, 306}, "4 12..9 12..9"},  // OEM 8 x 12, then 4 x 12 on its own size
        {1, 1, {10, 10}, {17, 32}, "26..23 26..23"},     // raised to 32 x 32 first: 11 x 26
    };
    for (const auto& c : cases) {
        FakeFonts fonts(tallFont, {8, 12});
        EXPECT_EQ(snugGridSize(fonts, c.cols, c.rows, c.candidate), c.expected) << c.asked;
        EXPECT_EQ(runs(fonts.asked), c.asked);
    }
    int32_t width = 40;  // every refit gives a cell one pixel narrower
    FakeFonts shrinking([&](int32_t) { return std::optional<CellMetrics>(CellMetrics{width--, 4}); }, {8, 12});
    EXPECT_EQ(snugGridSize(shrinking, 1, 1, {100, 100}), (PixelSize{37 + 6, 4 + 6}));  // the fourth refit's input
}

TEST(GridLayout, CentredWithSixSpareElseThreePixels) {
    const struct { PixelRect paint; CellMetrics cell; int32_t x0, y0; } cases[] = {
        {{0, 0, 646, 406}, {8, 16}, 3, 3},   {{0, 0, 700, 500}, {8, 16}, 30, 50},
        {{0, 0, 645, 405}, {8, 16}, 3, 3},   // five spare
        {{0, 0, 647, 407}, {8, 16}, 3, 3},   // seven spare: 7 / 2
        {{0, 0, 649, 409}, {8, 16}, 4, 4},   // nine spare
        {{0, 0, 300, 100}, {8, 12}, 3, 3},   // grid larger than the window
        {{10, 20, 710, 520}, {8, 16}, 40, 70},
    };
    for (const auto& c : cases) {
        const GridLayout g = layoutGrid(c.paint, 80, 25, c.cell);
        EXPECT_EQ(std::pair(g.x0, g.y0), std::pair(c.x0, c.y0)) << describe(c.paint);
    }
    const GridLayout g = layoutGrid({0, 0, 700, 500}, 80, 25, {8, 16});
    EXPECT_EQ(describe(g.gridRect()) + " " + describe(g.cellRect(24, 79)) + " " + describe(g.cellSpan(2, 3, 5)),
              "30,50,670,450 662,434,670,450 54,82,78,98");
}

TEST(HitTest, PixelsToClampedCells) {
    const Terminal t;        // 80 x 25
    RenderCache unfitted;    // 8 x 16: grid 640 x 400 at (30, 50) in 700 x 500
    RenderCache fitted;      // 6 x 16: grid 480 x 400 at (110, 50)
    fitted.cellWidth = 6;
    const struct { const RenderCache* cache; int32_t x, y; CellPos cell; } cases[] = {
        {&unfitted, 30, 50, {0, 0}},     {&unfitted, 37, 65, {0, 0}},     {&unfitted, 38, 66, {1, 1}},
        {&unfitted, 29, 49, {0, 0}},     {&unfitted, -100, -100, {0, 0}}, {&unfitted, 669, 449, {24, 79}},
        {&unfitted, 670, 450, {24, 79}}, {&unfitted, 5000, 60, {0, 79}},  {&unfitted, 0, 449, {24, 0}},
        {&fitted, 110, 50, {0, 0}},      {&fitted, 116, 82, {2, 1}},      {&fitted, 109, 82, {2, 0}},
        {&fitted, 589, 449, {24, 79}},
    };
    for (const auto& c : cases) {
        const CellPos got = hitTest(t, *c.cache, {0, 0, 700, 500}, c.x, c.y);
        EXPECT_EQ(got, c.cell) << c.x << "," << c.y << " got " << got.row << "," << got.col;
    }
}

TEST(HitTest, DragSelectsByPixelInEitherDirection) {
    Terminal t;
    const RenderCache cache;  // 8 x 16 at (30, 50) in 700 x 500
    const PixelRect client{0, 0, 700, 500};
    extendSelection(t, cache, 100, 100, client);  // no drag yet: nothing
    EXPECT_FALSE(t.selectionPresent);
    beginSelection(t, cache, 30 + 10 * 8 + 4, 50 + 3 * 16 + 8, client);  // centre of (3, 10)
    extendSelection(t, cache, 30 + 10 * 8 + 5, 50 + 3 * 16 + 9, client);  // same cell: still a click
    EXPECT_FALSE(t.selectionPresent);
    extendSelection(t, cache, 30 + 5 * 8 + 4, 50 + 1 * 16 + 8, client);
    EXPECT_TRUE(t.selectionPresent);
    EXPECT_EQ(t.selectionAnchor, (CellPos{3, 10}));
    EXPECT_EQ(t.selectionCaret, (CellPos{1, 5}));
    beginSelection(t, cache, -5, 900, client);  // below and left of the grid
    EXPECT_EQ(t.selectionAnchor, (CellPos{24, 0}));
    EXPECT_FALSE(t.selectionPresent);
}

}  // namespace
}  // namespace orvane
