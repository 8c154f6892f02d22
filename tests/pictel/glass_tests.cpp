// Canvases and placements as a device manipulates them.
#include <gtest/gtest.h>

#include "pictel_test_util.h"

namespace orvane::testing {
namespace {

class Glass : public ::testing::Test {
protected:
    Glass() { t.glass.bitmapCache = &cache; }
    Terminal t;
    RecordingBitmapCache cache;
    GlassLayer& g = t.glass;
};

std::vector<int32_t> placementOrder(const GlassLayer& g) {
    std::vector<int32_t> ids;
    for (const Placement& p : g.placements) ids.push_back(p.canvasId);
    return ids;
}

TEST_F(Glass, CreateFillsWithTheCanvasBackgroundOpaque) {
    feedText(t, "\x1b[=9;10;4I");
    const Canvas* c = findCanvas(g, 9);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->width, 10);
    EXPECT_EQ(c->height, 4);
    for (uint32_t px : c->pixels) ASSERT_EQ(px, 0xFFFF00FFu);
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{9});

    feedText(t, "\x1b[=1;2;3T\x1b[=9;1;1I");
    EXPECT_EQ(findCanvas(g, 9)->pixels[0], 0xFF010203u);
    EXPECT_TRUE(g.keyColourSet);
}

TEST_F(Glass, CreateRejectsBadSizes) {
    for (const char* seq : {"\x1b[=1;0;5I", "\x1b[=1;5;0I", "\x1b[=1;8193;8193I", "\x1b[=1;5I",
                            "\x1b[=1;2147483647;2147483647I", "\x1b[=1;4294967295;1I"}) {
        feedText(t, seq);
        EXPECT_TRUE(g.canvases.empty()) << seq + 3;
    }
    feedText(t, "\x1b[=1;8192;8192I");  // exactly the largest canvas
    EXPECT_NE(findCanvas(g, 1), nullptr);
}

TEST_F(Glass, AllCanvasesTogetherStayWithinTheBudget) {
    // Canvases are counted by their size, so the budget can be filled
    // without allocating it.
    for (int32_t id = 0; id < 4; ++id) {
        Canvas big;
        big.width = 8192;
        big.height = 8192;
        big.valid = true;
        ASSERT_TRUE(storeCanvas(g, id, big)) << id;
    }
    feedText(t, "\x1b[=7;1;1I");
    EXPECT_EQ(findCanvas(g, 7), nullptr);
    // Replacing a canvas counts only the difference.
    feedText(t, "\x1b[=3;1;1I");
    EXPECT_EQ(findCanvas(g, 3)->width, 1);
    feedText(t, "\x1b[=7;100;100I");
    EXPECT_NE(findCanvas(g, 7), nullptr);
}

TEST_F(Glass, CanvasAndPlacementCountsAreCapped) {
    for (size_t id = 0; id < kMaxCanvases; ++id) {
        Canvas tiny;
        tiny.width = tiny.height = 1;
        tiny.valid = true;
        ASSERT_TRUE(storeCanvas(g, int32_t(id), tiny));
    }
    feedText(t, "\x1b[=99999;1;1I");
    EXPECT_EQ(findCanvas(g, 99999), nullptr);
    feedText(t, "\x1b[=5;2;2I");  // replacing one is still allowed
    EXPECT_EQ(findCanvas(g, 5)->width, 2);

    for (size_t id = 0; id < kMaxPlacements; ++id) feedText(t, "\x1b[=" + std::to_string(id) + ";0;0;0;0;1;0D");
    feedText(t, "\x1b[=99999;0;0;0;0;1;0D");
    EXPECT_EQ(g.placements.size(), kMaxPlacements);
    EXPECT_EQ(g.placements.back().canvasId, int32_t(kMaxPlacements - 1));
    feedText(t, "\x1b[=7;3;0;0;0;1;0D");  // re-placing moves it to the top
    EXPECT_EQ(g.placements.back().canvasId, 7);
    EXPECT_EQ(g.placements.back().row, 3);
}

TEST_F(Glass, PlacementsKeepDrawingOrderAndOneEntryPerCanvas) {
    feedText(t, "\x1b[=5;0;0;0;0;10;0D");
    EXPECT_EQ(findCanvas(g, 5), nullptr);  // placed before it exists
    feedText(t, "\x1b[=1;0;0;0;0;8;0D\x1b[=2;0;0;0;0;8;0D\x1b[=1;1;0;0;0;8;0D");
    EXPECT_EQ(placementOrder(g), (std::vector<int32_t>{5, 2, 1}));
    EXPECT_EQ(g.placements.back().row, 1);
    feedText(t, "\x1b[=4;2;50;0;0;8;0D");
    EXPECT_EQ(g.placements.back().rowHundredths, 50);
    feedText(t, "\x1b[=4;2;50;0;0;8D");  // six parameters: too few
    EXPECT_EQ(g.placements.size(), 4u);
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

TEST_F(Glass, OriginFollowsGridChanges) {
    feedText(t, "\x1b[=26;0;80;0O");
    EXPECT_EQ(g.glassOrigin.rowRef, 26);
    feedText(t, "\x1b[=1;2;3O");
    EXPECT_EQ(g.glassOrigin.rowRef, 26);
    feedText(t, "\x1b[8;25;132t");
    EXPECT_EQ(g.glassOrigin.rowRef, 25);
    EXPECT_EQ(g.glassOrigin.colRef, 132);
    EXPECT_GE(cache.droppedAll, 1);
}

TEST_F(Glass, ViewRectangle) {
    feedText(t, "\x1b[=7;64;32I\x1b[=7;10;5;100;100V");
    const Canvas* c = findCanvas(g, 7);
    EXPECT_EQ(c->viewX, 10);
    EXPECT_EQ(c->viewWidth, 54);
    EXPECT_EQ(c->viewHeight, 27);
    feedText(t, "\x1b[=7;4294967295;4294967295;8;8V");  // negative origin moves to 0
    EXPECT_EQ(c->viewX, 0);
    EXPECT_EQ(c->viewWidth, 8);
    for (const char* reset : {"\x1b[=7;100;0;10;10V", "\x1b[=7;0;0;0;10V", "\x1b[=7;1;1;1V", "\x1b[=7V"}) {
        feedText(t, "\x1b[=7;1;1;4;4V");
        feedText(t, reset);
        EXPECT_EQ(c->viewWidth, 0) << reset + 3;
        EXPECT_EQ(c->viewX, 0);
    }
}

TEST_F(Glass, ClearWholeOrPart) {
    feedText(t, "\x1b[=1;4;3I\x1b[=0;0;255T\x1b[=1;2;1;100;100X");
    const Canvas* c = findCanvas(g, 1);
    EXPECT_EQ(c->at(1, 1), 0xFFFF00FFu);
    EXPECT_EQ(c->at(2, 1), 0xFF0000FFu);
    EXPECT_EQ(c->at(3, 2), 0xFF0000FFu);
    EXPECT_EQ(c->at(2, 0), 0xFFFF00FFu);
    feedText(t, "\x1b[=1X");
    for (uint32_t px : c->pixels) ASSERT_EQ(px, 0xFF0000FFu);
    // Rectangles reaching far outside are clipped, not walked.
    feedText(t, "\x1b[=0;255;0T\x1b[=1;4294967291;4294967291;2000000000;2000000000X");
    for (uint32_t px : c->pixels) ASSERT_EQ(px, 0xFF00FF00u);
    feedText(t, "\x1b[=9;9;9T\x1b[=1;2147483647;0;2147483647;1X\x1b[=1;0;0;0;5X");
    for (uint32_t px : c->pixels) ASSERT_EQ(px, 0xFF00FF00u);
}

TEST_F(Glass, DeleteOneOrAll) {
    feedText(t, "\x1b[=0;2;2I\x1b[=1;2;2I\x1b[=0;0;0;0;0;8;0D\x1b[=1;0;0;0;0;8;0D");
    g.pendingTransfers[0] = "AAAA";
    g.offers[0] = {1, 2, "png"};
    feedText(t, "\x1b[=0K");
    EXPECT_EQ(findCanvas(g, 0), nullptr);
    EXPECT_NE(findCanvas(g, 1), nullptr);
    EXPECT_EQ(placementOrder(g), std::vector<int32_t>{1});
    EXPECT_TRUE(g.pendingTransfers.empty());
    EXPECT_EQ(g.offers.size(), 1u);  // offers survive "K"
    feedText(t, "\x1b[=K");
    EXPECT_TRUE(g.canvases.empty());
    EXPECT_TRUE(g.placements.empty());
    EXPECT_EQ(g.offers.size(), 1u);
}

TEST_F(Glass, ResetRestoresDefaultsButNotTheCache) {
    feedText(t, "\x1b[=1;2;2I\x1b[=1H\x1b[=1;0;0;0;0;8;0D\x1b[=9;9;9T\x1b[=F\x1b[=R\x1b[=30;0;90;0O");
    g.offers[3] = {1, 2, "png"};
    feedText(t, "\x1b[8;24;132t\x1b[=Z");
    EXPECT_TRUE(g.canvases.empty() && g.placements.empty() && g.offers.empty());
    EXPECT_FALSE(g.hold || g.keyColourSet || g.fillOff || g.strokeOff);
    EXPECT_EQ(g.canvasBackground, kMagenta);
    EXPECT_EQ(g.glassOrigin.rowRef, 24);
    EXPECT_EQ(g.glassOrigin.colRef, 132);
    EXPECT_EQ(g.bitmapCache, &cache);
}

TEST_F(Glass, TerminalResetAndClearLeaveTheGlassAlone) {
    feedText(t, "\x1b[=1;2;2I\x1b[=1;0;0;0;0;8;0D\x1b" "c");
    clearScreen(t);
    EXPECT_NE(findCanvas(g, 1), nullptr);
    EXPECT_EQ(g.placements.size(), 1u);
}

}  // namespace
}  // namespace orvane::testing
