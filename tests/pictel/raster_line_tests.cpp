// Lines: the stepping rule, brushes, clipping, and that a clipped walk sets
// exactly the pixels of the whole walk while doing only the visible work.
#include <gtest/gtest.h>

#include <random>

#include "pictel/line_walk.h"
#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

std::string lineArt(int32_t w, int32_t h, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t t = 1) {
    Canvas c = blankCanvas(w, h);
    drawLine(c, x1, y1, x2, y2, t, kStroke);
    return picture(c);
}

TEST(RasterLine, StepsDiagonallyWhenTheErrorEqualsDx) {
    EXPECT_EQ(lineArt(6, 4, 0, 0, 4, 2), art({"#.....",
                                              ".##...",
                                              "...##.",
                                              "......"}));
}

TEST(RasterLine, ReverseDirectionTakesItsOwnSteps) {
    // Both tests are inclusive, so the walk back is not the mirror image.
    EXPECT_EQ(lineArt(6, 4, 4, 2, 0, 0), art({"##....",
                                              "..##..",
                                              "....#.",
                                              "......"}));
}

TEST(RasterLine, SteepLineMovesYAtEveryStep) {
    EXPECT_EQ(lineArt(4, 7, 0, 0, 2, 5), art({"#...",
                                              "#...",
                                              ".#..",
                                              ".#..",
                                              "..#.",
                                              "..#.",
                                              "...."}));
}

TEST(RasterLine, SinglePointAndStraightLines) {
    EXPECT_EQ(lineArt(3, 3, 1, 1, 1, 1), art({"...", ".#.", "..."}));
    EXPECT_EQ(lineArt(4, 3, 3, 1, 0, 1), art({"....", "####", "...."}));
    EXPECT_EQ(lineArt(3, 4, 2, 0, 2, 3), art({"..#", "..#", "..#", "..#"}));
}

TEST(RasterLine, OddBrushIsCentredOnEachStep) {
    EXPECT_EQ(lineArt(9, 5, 2, 2, 6, 2, 3), art({".........",
                                                 ".#######.",
                                                 ".#######.",
                                                 ".#######.",
                                                 "........."}));
}

TEST(RasterLine, EvenBrushHangsUpAndLeftOfEachStep) {
    EXPECT_EQ(lineArt(6, 6, 2, 2, 4, 4, 2), art({"......",
                                                 ".##...",
                                                 ".###..",
                                                 "..###.",
                                                 "...##.",
                                                 "......"}));
    // t x t with top-left (x - t/2, y - t/2): 4 wide from x - 2 to x + 1.
    EXPECT_EQ(lineArt(6, 6, 3, 3, 3, 3, 4), art({"......",
                                                 ".####.",
                                                 ".####.",
                                                 ".####.",
                                                 ".####.",
                                                 "......"}));
}

TEST(RasterLine, ClipsAtEveryEdge) {
    EXPECT_EQ(lineArt(5, 4, -100, 2, 100, 2), art({".....", ".....", "#####", "....."}));
    EXPECT_EQ(lineArt(4, 3, 1, -50, 1, 50), art({".#..", ".#..", ".#.."}));
    EXPECT_EQ(lineArt(4, 4, -10, -10, 10, 10), art({"#...", ".#..", "..#.", "...#"}));
    EXPECT_EQ(lineArt(4, 4, 13, -10, -7, 10), art({"...#", "..#.", ".#..", "#..."}));
    // A brush whose step lies outside still reaches in.
    EXPECT_EQ(lineArt(6, 4, -20, -1, 30, -1, 5), art({"######", "######", "......", "......"}));
    EXPECT_EQ(lineArt(4, 5, 5, -9, 5, 9, 4), art({"...#", "...#", "...#", "...#", "...#"}));
    EXPECT_EQ(lineArt(4, 4, -30, 9, 30, 9, 3), art({"....", "....", "....", "...."}));
}

TEST(RasterLine, MatchesTheUnclippedWalkForRandomLines) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int32_t> near(-40, 60);
    std::uniform_int_distribution<int32_t> far(-3000, 3000);
    std::uniform_int_distribution<int32_t> thickness(1, 9);
    for (int i = 0; i < 3000; ++i) {
        auto coordinate = [&] { return i % 3 == 0 ? far(rng) : near(rng); };
        const int64_t x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
        const int32_t t = i % 4 == 0 ? 1 : thickness(rng);
        Canvas clipped = blankCanvas(23, 17);
        Canvas reference = blankCanvas(23, 17);
        drawLine(clipped, x1, y1, x2, y2, t, kStroke);
        referenceLine(reference, x1, y1, x2, y2, t, kStroke);
        ASSERT_EQ(picture(clipped), picture(reference))
            << "line (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") thickness " << t;
    }
}

// The walk depends only on the step count and the ratio dy : dx, so a line
// of a small ratio stretched by two thousand million passes the canvas
// exactly where its short twin through the same point does.
TEST(RasterLine, HugeLineSetsThePixelsOfItsShortTwin) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> step(-9, 9);
    std::uniform_int_distribution<int32_t> centre(-5, 45);
    std::uniform_int_distribution<int32_t> thickness(1, 6);
    for (int i = 0; i < 2000; ++i) {
        const int64_t u = step(rng), v = step(rng);
        if (u == 0 && v == 0) continue;
        const int64_t cx = centre(rng), cy = centre(rng);
        const int32_t t = thickness(rng);
        const int64_t longest = std::max(std::abs(u), std::abs(v));
        const int64_t big = 2'000'000'000 / longest;
        const int64_t small = 200 / longest + 1;
        Canvas huge = blankCanvas(40, 30);
        Canvas twin = blankCanvas(40, 30);
        drawLine(huge, cx - big * u, cy - big * v, cx + big * u, cy + big * v, t, kStroke);
        referenceLine(twin, cx - small * u, cy - small * v, cx + small * u, cy + small * v, t, kStroke);
        ASSERT_EQ(picture(huge), picture(twin)) << "ratio " << u << ":" << v << " through (" << cx << "," << cy
                                                << ") thickness " << t;
    }
}

TEST(RasterLine, ClippedWalkVisitsOnlyVisiblePoints) {
    const PixelRect canvas{0, 0, 39, 29};
    int visits = 0;
    walkClippedLine(PixelPoint{-2'000'000'000, -1'000'000'000}, PixelPoint{2'000'000'000, 1'000'000'000}, canvas,
                    [&](int64_t x, int64_t y) {
                        ++visits;
                        EXPECT_EQ(y, (x + 1) / 2) << x;
                    });
    EXPECT_EQ(visits, 40);
    visits = 0;
    walkClippedLine(PixelPoint{-2'000'000'000, 5}, PixelPoint{2'000'000'000, 5}, PixelRect{0, 0, 39, 4},
                    [&](int64_t, int64_t) { ++visits; });
    EXPECT_EQ(visits, 0);
}

TEST(RasterLine, EndsBeyondTheCoordinateLimitDrawNothing) {
    const int64_t beyond = kMaxLineCoordinate + 1;
    EXPECT_EQ(lineArt(3, 2, -beyond, 0, beyond, 0), art({"...", "..."}));
    EXPECT_EQ(lineArt(3, 2, -kMaxLineCoordinate, 1, kMaxLineCoordinate, 1), art({"...", "###"}));
}

}  // namespace
}  // namespace orvane::testing
