// The drawing commands on a terminal's canvases: pens, colours, thickness,
// missing canvases, and what the compositor is told.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "pictel/draw_commands.h"
#include "pictel/raster.h"
#include "pictel_test_util.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

using Params = std::vector<int32_t>;
using Command = void (*)(Terminal&, const Params&);

// kFill and kStroke as the red, green, blue a device sends.
const Params kFillRgb{0x00, 0xC0, 0x00};
const Params kStrokeRgb{0xE0, 0xE0, 0xE0};

class DrawCommands : public ::testing::Test {
protected:
    DrawCommands() {
        t.glass.bitmapCache = &cache;
        pictelFillColour(t, kFillRgb);
        pictelStrokeColour(t, kStrokeRgb);
    }

    Canvas& addCanvas(int32_t id, int32_t w, int32_t h) {
        EXPECT_TRUE(storeCanvas(t.glass, id, blankCanvas(w, h)));
        return *findCanvas(t.glass, id);
    }

    Terminal t;
    RecordingBitmapCache cache;
};

TEST_F(DrawCommands, RectangleFillThenOutline) {
    const Canvas& c = addCanvas(1, 9, 6);
    pictelRectangle(t, {1, 2, 2, 5, 3});
    EXPECT_EQ(picture(c), art({".........",
                               ".........",
                               "..#####..",
                               "..#ooo#..",
                               "..#####..",
                               "........."}));
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{1});
}

TEST_F(DrawCommands, ThickRectangleBandsAreClampedToItsSize) {
    const Canvas& c = addCanvas(1, 12, 12);
    pictelRectangle(t, {1, 0, 0, 10, 10, 20});
    for (int32_t y = 0; y < 12; ++y) {
        for (int32_t x = 0; x < 12; ++x) {
            ASSERT_EQ(c.at(x, y), x < 10 && y < 10 ? kStroke : kBackground) << x << "," << y;
        }
    }
}

TEST_F(DrawCommands, CircleFillThenOutline) {
    const Canvas& c = addCanvas(2, 9, 9);
    pictelCircle(t, {2, 4, 4, 3});
    EXPECT_EQ(picture(c), art({".........",
                               "...###...",
                               "..#ooo#..",
                               ".#ooooo#.",
                               ".#ooooo#.",
                               ".#ooooo#.",
                               "..#ooo#..",
                               "...###...",
                               "........."}));
}

TEST_F(DrawCommands, CircleOfRadiusZeroIsOneStrokePixel) {
    const Canvas& c = addCanvas(1, 3, 3);
    pictelCircle(t, {1, 1, 1, 0});
    EXPECT_EQ(picture(c), art({"...", ".#.", "..."}));
    pictelCircle(t, {1, 1, 1, -1});
    pictelCircle(t, {1, 1, 1, kMaxRadius + 1});
    EXPECT_EQ(picture(c), art({"...", ".#.", "..."}));
    EXPECT_EQ(cache.dropped, (std::vector<int32_t>{1, 1, 1}));
}

TEST_F(DrawCommands, EllipseFillThenOutline) {
    const Canvas& c = addCanvas(3, 11, 7);
    pictelEllipse(t, {3, 5, 3, 4, 2});
    EXPECT_EQ(picture(c), art({"...........",
                               "...#####...",
                               "..#ooooo#..",
                               ".#ooooooo#.",
                               "..#ooooo#..",
                               "...#####...",
                               "..........."}));
    // Thicker than both radii: solid in the stroke colour.
    const Canvas& solid = addCanvas(4, 11, 7);
    pictelEllipse(t, {4, 5, 3, 4, 2, 30});
    EXPECT_EQ(picture(solid), art({"...........",
                               ".....#.....",
                               "..#######..",
                               ".#########.",
                               "..#######..",
                               ".....#.....",
                               "..........."}));
}

TEST_F(DrawCommands, LineAcrossFourThousandMillionPixelsDrawsItsVisibleSteps) {
    const Canvas& c = addCanvas(1, 8, 4);
    pictelLine(t, {1, -2'000'000'000, -1'000'000'000, 2'000'000'000, 1'000'000'000});
    EXPECT_EQ(picture(c), art({"#.......",
                               ".##.....",
                               "...##...",
                               ".....##."}));
}

TEST_F(DrawCommands, ThicknessIsClampedToOneTo256) {
    const Canvas& c = addCanvas(1, 300, 300);
    pictelLine(t, {1, 150, 150, 150, 150, 1000});
    EXPECT_EQ(c.at(21, 150), kBackground);
    EXPECT_EQ(c.at(22, 150), kStroke);
    EXPECT_EQ(c.at(277, 150), kStroke);
    EXPECT_EQ(c.at(278, 150), kBackground);
    EXPECT_EQ(c.at(150, 22), kStroke);
    EXPECT_EQ(c.at(150, 278), kBackground);

    const Canvas& thin = addCanvas(2, 3, 3);
    pictelLine(t, {2, 1, 0, 1, 0, 0});
    pictelLine(t, {2, 1, 2, 1, 2, -40});
    EXPECT_EQ(picture(thin), art({".#.", "...", ".#."}));
}

TEST_F(DrawCommands, ArrowTurnedQuarterRightPointsItsBodyLeft) {
    const Canvas& c = addCanvas(1, 120, 60);
    pictelArrow(t, {1, 50, 5, 100, 2});
    EXPECT_EQ(c.at(50, 5), kStroke);
    EXPECT_EQ(c.at(30, 5), kFill);
    EXPECT_EQ(c.at(70, 5), kBackground);
    EXPECT_EQ(c.at(50, 25), kBackground);
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{1});
}

TEST_F(DrawCommands, HandAndArrowAreDifferentGlyphs) {
    const Canvas& arrow = addCanvas(1, 60, 60);
    const Canvas& hand = addCanvas(2, 60, 60);
    pictelArrow(t, {1, 30, 5, 50, 0, 2});
    pictelHand(t, {2, 30, 5, 50, 0, 2});
    Canvas expectedHand = blankCanvas(60, 60);
    drawGlyph(expectedHand, handGlyph(), 30, 5, 50, 0, GlyphStyle{true, kFill, true, kStroke, 2});
    EXPECT_EQ(picture(hand), picture(expectedHand));
    EXPECT_NE(picture(hand), picture(arrow));
    EXPECT_EQ(cache.dropped, (std::vector<int32_t>{1, 2}));
}

TEST_F(DrawCommands, GlyphOfSizeZeroDrawsNothingButDropsTheBitmap) {
    const Canvas& c = addCanvas(1, 10, 10);
    pictelArrow(t, {1, 0, 0, 0, 0});
    pictelHand(t, {1, 5, 5, -3, 1, 4});
    EXPECT_EQ(picture(c), picture(blankCanvas(10, 10)));
    EXPECT_EQ(cache.dropped, (std::vector<int32_t>{1, 1}));
}

TEST_F(DrawCommands, FillOffLeavesTheOutline) {
    const Canvas& c = addCanvas(1, 5, 4);
    pictelFillColour(t, {});
    EXPECT_TRUE(t.glass.fillOff);
    pictelRectangle(t, {1, 0, 0, 4, 3});
    EXPECT_EQ(picture(c), art({"####.", "#..#.", "####.", "....."}));
    pictelFillColour(t, kFillRgb);
    EXPECT_FALSE(t.glass.fillOff);
    pictelCircle(t, {1, 1, 1, 0, 1});  // fill is overwritten by the outline
    EXPECT_EQ(c.at(1, 1), kStroke);
}

TEST_F(DrawCommands, StrokeOffLeavesTheFillAndMakesLinesDoNothing) {
    const Canvas& c = addCanvas(1, 5, 4);
    pictelStrokeColour(t, {});
    EXPECT_TRUE(t.glass.strokeOff);
    pictelRectangle(t, {1, 0, 0, 4, 3});
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{1});
    pictelLine(t, {1, 0, 3, 4, 3, 2});
    EXPECT_EQ(picture(c), art({"oooo.", "oooo.", "oooo.", "....."}));
    EXPECT_EQ(cache.dropped, std::vector<int32_t>{1});  // the line did not touch the canvas
}

TEST_F(DrawCommands, BothPensOffStillDropTheBitmap) {
    const Canvas& c = addCanvas(4, 20, 20);
    pictelFillColour(t, {});
    pictelStrokeColour(t, {});
    pictelRectangle(t, {4, 1, 1, 5, 5});
    pictelCircle(t, {4, 10, 10, 5});
    pictelEllipse(t, {4, 10, 10, 5, 3});
    pictelArrow(t, {4, 10, 0, 15, 0});
    pictelHand(t, {4, 10, 0, 15, 0});
    pictelLine(t, {4, 0, 0, 19, 19});
    EXPECT_EQ(picture(c), picture(blankCanvas(20, 20)));
    EXPECT_EQ(cache.dropped, (std::vector<int32_t>{4, 4, 4, 4, 4}));
}

TEST_F(DrawCommands, MissingCanvasDoesNothing) {
    const Canvas& c = addCanvas(1, 4, 4);
    for (int32_t id : {2, -1}) {
        pictelRectangle(t, {id, 0, 0, 4, 4});
        pictelCircle(t, {id, 1, 1, 1});
        pictelEllipse(t, {id, 1, 1, 1, 1});
        pictelLine(t, {id, 0, 0, 3, 3});
        pictelArrow(t, {id, 1, 0, 3, 0});
        pictelHand(t, {id, 1, 0, 3, 0});
    }
    EXPECT_TRUE(cache.dropped.empty());
    EXPECT_EQ(t.glass.canvases.size(), 1u);
    EXPECT_EQ(picture(c), picture(blankCanvas(4, 4)));
}

TEST_F(DrawCommands, ColoursUseTheLowEightBitsOfEachParameter) {
    pictelFillColour(t, {300, -1, 256 + 7});
    EXPECT_EQ(t.glass.fillColour, 0x07FF2Cu);
    pictelStrokeColour(t, {1, 2, 259});
    EXPECT_EQ(t.glass.strokeColour, 0x030201u);
    const Canvas& c = addCanvas(1, 2, 1);
    pictelLine(t, {1, 0, 0, 0, 0});
    pictelCircle(t, {1, 1, 0, 0, 1});
    pictelStrokeColour(t, {});
    pictelCircle(t, {1, 1, 0, 0, 1});
    EXPECT_EQ(c.at(0, 0), 0xFF010203u);
    EXPECT_EQ(c.at(1, 0), 0xFF2CFF07u);
}

TEST_F(DrawCommands, ColourWithOneOrTwoParametersChangesNothing) {
    pictelFillColour(t, {});
    pictelFillColour(t, {9});
    pictelStrokeColour(t, {9, 9});
    EXPECT_TRUE(t.glass.fillOff);
    EXPECT_FALSE(t.glass.strokeOff);
    EXPECT_EQ(t.glass.fillColour, 0x00C000u);
    EXPECT_EQ(t.glass.strokeColour, 0xE0E0E0u);
}

TEST_F(DrawCommands, TooFewParametersDoNothing) {
    const Canvas& c = addCanvas(1, 4, 4);
    pictelRectangle(t, {1, 0, 0, 4});
    pictelCircle(t, {1, 1, 1});
    pictelEllipse(t, {1, 1, 1, 1});
    pictelLine(t, {1, 0, 0, 3});
    pictelArrow(t, {1, 1, 0, 3});
    pictelHand(t, {});
    EXPECT_TRUE(cache.dropped.empty());
    EXPECT_EQ(picture(c), picture(blankCanvas(4, 4)));
}

// Parameters at the edges of the 32-bit range and of every limit: under the
// sanitizers any overflow stops the test, and the canvas may only ever hold
// its three colours.
TEST_F(DrawCommands, ExtremeParametersDrawOnlyTheirColours) {
    const int32_t edges[] = {INT32_MIN, INT32_MIN + 1, -kMaxRadius - 1, -257, -1, 0, 1, 2, 3, 7, 255, 256,
                             257, kMaxRadius, kMaxRadius + 1, 1'000'000'000, INT32_MAX - 1, INT32_MAX};
    const Command commands[] = {pictelRectangle, pictelCircle, pictelEllipse, pictelLine, pictelArrow, pictelHand};
    std::mt19937 rng(99);
    std::uniform_int_distribution<size_t> pick(0, std::size(edges) - 1);
    std::uniform_int_distribution<int32_t> near(-40, 80);
    const Canvas& c = addCanvas(1, 37, 23);
    for (int i = 0; i < 20000; ++i) {
        Params p{1};
        for (int k = 0; k < 5; ++k) p.push_back(rng() % 2 ? edges[pick(rng)] : near(rng));
        commands[size_t(i) % std::size(commands)](t, p);
    }
    for (uint32_t px : c.pixels) ASSERT_TRUE(px == kBackground || px == kFill || px == kStroke) << std::hex << px;
}

TEST_F(DrawCommands, ThroughTheByteStream) {
    const Canvas& c = addCanvas(1, 6, 3);
    feedText(t, "\x1b[=1;0;0;4;2L");
    EXPECT_EQ(picture(c), art({"#.....", ".##...", "...##."}));
    feedText(t, "\x1b[=R\x1b[=1;0;2;5;2L");
    EXPECT_TRUE(t.glass.strokeOff);
    EXPECT_EQ(picture(c), art({"#.....", ".##...", "...##."}));
    feedText(t, "\x1b[=300;0;0F\x1b[=1;5;2;0;0;1E");
    EXPECT_EQ(c.at(5, 2), 0xFF2C0000u);
}

}  // namespace
}  // namespace orvane::testing
