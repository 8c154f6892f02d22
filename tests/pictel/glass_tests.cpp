// Canvases and placements as a device manipulates them.
#include <gtest/gtest.h>

#include <tuple>

#include "pictel_test_util.h"

namespace orvane::testing {
namespace {

class Glass : public ::testing::Test {
protected:
    Glass() { t.glass.bitmapCache = &cache; }
    std::vector<int32_t> placementOrder() const {
        std::vector<int32_t> ids;
        for (const Placement& p : g.placements) ids.push_back(p.canvasId);
        return ids;
    }
    // Canvases of that size without pixel values: the budgets fill without memory.
    void storeEmpty(int32_t id, int32_t side) {
        Canvas c;
        c.width = c.height = side;
        c.valid = true;
        ASSERT_TRUE(storeCanvas(g, id, c)) << id;
    }

    Terminal t;
    RecordingBitmapCache cache;
    GlassLayer& g = t.glass;
};

TEST_F(Glass, CreateFillsWithTheCanvasBackgroundAndRejectsBadSizes) {
    feedText(t, "\x1b[=9;10;4I");
    ASSERT_NE(findCanvas(g, 9), nullptr);
    EXPECT_EQ(findCanvas(g, 9)->pixels, std::vector<uint32_t>(40, 0xFFFF00FFu));
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{9});
    feedText(t, "\x1b[=1;2;3T\x1b[=9;1;1I");
    EXPECT_EQ(findCanvas(g, 9)->pixels[0], 0xFF010203u);
    EXPECT_TRUE(g.keyColourSet);
    for (const char* seq : {"\x1b[=1;0;5I", "\x1b[=1;5;0I", "\x1b[=1;8193;8192I", "\x1b[=1;5I", "\x1b[=4294967295;1;1I",
                            "\x1b[=1;2147483647;2147483647I", "\x1b[=1;4294967295;1I"}) {
        feedText(t, seq);
        EXPECT_EQ(findCanvas(g, 1), nullptr) << seq + 3;
    }
    feedText(t, "\x1b[=1;8192;8192I");  // exactly the largest canvas
    EXPECT_NE(findCanvas(g, 1), nullptr);
}

TEST_F(Glass, CanvasesTogetherStayWithinTheirBudgetAndCount) {
    for (int32_t id = 0; id < 4; ++id) storeEmpty(id, 8192);  // exactly the pixel budget
    feedText(t, "\x1b[=7;1;1I");
    EXPECT_EQ(findCanvas(g, 7), nullptr);
    feedText(t, "\x1b[=3;1;1I\x1b[=7;100;100I");  // replacing a canvas counts only the difference
    EXPECT_NE(findCanvas(g, 7), nullptr);
    g.canvases.clear();
    for (int32_t id = 0; id < int32_t(kMaxCanvases); ++id) storeEmpty(id, 1);
    feedText(t, "\x1b[=99999;1;1I\x1b[=5;2;2I");  // no new id; replacing one is still allowed
    EXPECT_EQ(findCanvas(g, 99999), nullptr);
    EXPECT_EQ(findCanvas(g, 5)->width, 2);
}

TEST_F(Glass, PlacementsKeepDrawingOrderOneEntryPerCanvasAndACap) {
    feedText(t, "\x1b[=5;0;0;0;0;10;0D\x1b[=1;0;0;0;0;8;0D\x1b[=2;0;0;0;0;8;0D\x1b[=1;1;50;2;25;8;75D");
    EXPECT_EQ(placementOrder(), (std::vector<int32_t>{5, 2, 1}));  // canvas 5 need not exist
    const Placement& p = g.placements.back();
    EXPECT_EQ(std::vector<int32_t>({p.row, p.rowHundredths, p.col, p.colHundredths, p.widthCells, p.widthHundredths}),
              std::vector<int32_t>({1, 50, 2, 25, 8, 75}));
    feedText(t, "\x1b[=4;2;50;0;0;8D\x1b[=4;4294967286;0;0;0;8;0D");  // six parameters are too few; values are signed
    EXPECT_EQ(g.placements.size(), 4u);
    EXPECT_EQ(g.placements.back().row, -10);
    for (size_t id = 10; g.placements.size() < kMaxPlacements; ++id) feedText(t, "\x1b[=" + std::to_string(id) + ";0;0;0;0;1;0D");
    feedText(t, "\x1b[=99999;0;0;0;0;1;0D\x1b[=2;3;0;0;0;1;0D");  // full: only re-placing works
    EXPECT_EQ(g.placements.size(), kMaxPlacements);
    EXPECT_EQ(g.placements.back().canvasId, 2);
}

TEST_F(Glass, HoldShowAndHide) {
    feedText(t, "\x1b[=1H\x1b[=3;0;0;0;0;8;0D\x1b[=4;0;0;0;0;8;0D");
    EXPECT_FALSE(g.placements[0].visible);
    feedText(t, "\x1b[=3;1S");
    EXPECT_TRUE(g.placements[0].visible);
    EXPECT_FALSE(g.placements[1].visible);
    feedText(t, "\x1b[=H\x1b[=S");  // without parameters: nothing
    EXPECT_TRUE(g.hold);
    feedText(t, "\x1b[=1S");
    EXPECT_TRUE(g.placements[0].visible && g.placements[1].visible);
    feedText(t, "\x1b[=0S\x1b[=0H\x1b[=5;0;0;0;0;8;0D");
    EXPECT_FALSE(g.placements[0].visible || g.placements[1].visible);
    EXPECT_TRUE(g.placements[2].visible);
}

TEST_F(Glass, ViewRectangle) {
    feedText(t, "\x1b[=7;64;32I\x1b[=7;10;5;100;100V");
    const Canvas* c = findCanvas(g, 7);
    auto view = [c] { return std::vector<int32_t>({c->viewX, c->viewY, c->viewWidth, c->viewHeight}); };
    EXPECT_EQ(view(), std::vector<int32_t>({10, 5, 54, 27}));
    feedText(t, "\x1b[=7;4294967295;4294967295;8;8V");  // a negative origin moves to 0
    EXPECT_EQ(view(), std::vector<int32_t>({0, 0, 8, 8}));
    for (const char* reset : {"\x1b[=7;64;0;10;10V", "\x1b[=7;0;32;10;10V", "\x1b[=7;0;0;0;10V", "\x1b[=7;1;1;1V", "\x1b[=7V"}) {
        feedText(t, "\x1b[=7;1;1;4;4V" + std::string(reset));
        EXPECT_EQ(view(), std::vector<int32_t>(4, 0)) << reset + 3;
    }
}

TEST_F(Glass, ClearWholeOrPartClipped) {
    feedText(t, "\x1b[=1;4;3I\x1b[=0;0;255T\x1b[=1;2;1;100;100X");
    const Canvas* c = findCanvas(g, 1);
    EXPECT_EQ(c->pixels, std::vector<uint32_t>({0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF,
                                                0xFF0000FF, 0xFF0000FF, 0xFFFF00FF, 0xFFFF00FF, 0xFF0000FF, 0xFF0000FF}));
    feedText(t, "\x1b[=0;255;0T\x1b[=1;4294967291;4294967291;2000000000;2000000000X");
    EXPECT_EQ(c->pixels, std::vector<uint32_t>(12, 0xFF00FF00u));
    feedText(t, "\x1b[=9;9;9T\x1b[=1;2147483647;0;2147483647;1X\x1b[=1;0;0;0;5X");
    EXPECT_EQ(c->pixels, std::vector<uint32_t>(12, 0xFF00FF00u));
    feedText(t, "\x1b[=1X");
    EXPECT_EQ(c->pixels, std::vector<uint32_t>(12, 0xFF090909u));
}

TEST_F(Glass, DeleteOneOrAllWithTheirTransfersButNotTheOffers) {
    feedText(t, "\x1b[=0;2;2I\x1b[=1;2;2I\x1b[=0;0;0;0;0;8;0D\x1b[=1;0;0;0;0;8;0D");
    g.pendingTransfers[0] = g.pendingTransfers[1] = g.pendingTransfers[5] = "AAAA";
    g.offers[0] = {1, 2, "png"};
    feedText(t, "\x1b[=0K");
    EXPECT_TRUE(findCanvas(g, 0) == nullptr && placementOrder() == std::vector<int32_t>{1} && g.pendingTransfers.size() == 2);
    feedText(t, "\x1b[=K");
    EXPECT_TRUE(g.canvases.empty() && g.placements.empty() && g.pendingTransfers.empty() && g.offers.size() == 1);
    EXPECT_EQ(cache.droppedAll, 1);
}

TEST_F(Glass, ResetRestoresDefaultsAndTheOriginFollowsTheGrid) {
    feedText(t, "\x1b[=26;0;80;0O\x1b[=1;2;3O");
    EXPECT_EQ(g.glassOrigin.rowRef, 26);
    feedText(t, "\x1b[8;25;132t");
    EXPECT_EQ(g.glassOrigin.colRef, 132);
    feedText(t, "\x1b[=1;2;2I\x1b[=1H\x1b[=1;0;0;0;0;8;0D\x1b[=9;9;9T\x1b[=F\x1b[=R\x1b[=30;0;90;0O");
    g.offers[3] = {1, 2, "png"};
    feedText(t, "\x1b" "c\x1b[2J");  // the terminal's own reset and clear leave the glass alone
    EXPECT_EQ(g.placements.size(), 1u);
    feedText(t, "\x1b[8;24;132t\x1b[=Z");
    EXPECT_TRUE(g.canvases.empty() && g.placements.empty() && g.offers.empty());
    EXPECT_FALSE(g.hold || g.keyColourSet || g.fillOff || g.strokeOff);
    EXPECT_EQ(std::tuple(g.canvasBackground, g.glassOrigin.rowRef, g.glassOrigin.colRef, g.bitmapCache, cache.droppedAll),
              std::tuple(kMagenta, 24, 132, static_cast<CanvasBitmapCache*>(&cache), 3));
}

}  // namespace
}  // namespace orvane::testing
