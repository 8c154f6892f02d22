// Lines: the stepping rule, brushes, clipping, and that a clipped walk sets
// exactly the pixels of the whole walk while doing only the visible work.
#include <gtest/gtest.h>

#include <random>

#include "pictel/line_walk.h"
#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

struct LineCase {
    int32_t width;
    int32_t height;
    int64_t x1, y1, x2, y2;
    int32_t thickness;
    std::vector<const char*> rows;
};

const int64_t kFar = kMaxLineCoordinate;

const LineCase kLines[] = {
    {6, 3, 0, 0, 4, 2, 1, {"#.....", ".##...", "...##."}},  // steps diagonally when the error equals dx
    {6, 3, 4, 2, 0, 0, 1, {"##....", "..##..", "....#."}},  // both tests inclusive: not the mirror image
    {3, 6, 0, 0, 2, 5, 1, {"#..", "#..", ".#.", ".#.", "..#", "..#"}},
    {3, 3, 1, 1, 1, 1, 1, {"...", ".#.", "..."}},
    {4, 2, 3, 1, 0, 1, 1, {"....", "####"}},
    {9, 5, 2, 2, 6, 2, 3, {".........", ".#######.", ".#######.", ".#######.", "........."}},  // odd brush centred
    {6, 6, 2, 2, 4, 4, 2, {"......", ".##...", ".###..", "..###.", "...##.", "......"}},  // even brush up and left
    {6, 6, 3, 3, 3, 3, 4, {"......", ".####.", ".####.", ".####.", ".####.", "......"}},
    {5, 3, -100, 2, 100, 2, 1, {".....", ".....", "#####"}},
    {4, 4, 13, -10, -7, 10, 1, {"...#", "..#.", ".#..", "#..."}},
    {6, 3, -20, -1, 30, -1, 5, {"######", "######", "......"}},  // a brush outside still reaches in
    {4, 3, 5, -9, 5, 9, 4, {"...#", "...#", "...#"}},
    {4, 3, -30, 8, 30, 8, 3, {"....", "....", "...."}},
    {3, 2, -kFar - 1, 0, kFar + 1, 0, 1, {"...", "..."}},  // ends beyond the limit draw nothing
    {3, 2, -kFar, 1, kFar, 1, 1, {"...", "###"}},
};

TEST(RasterLine, DrawsExactlyItsSteps) {
    for (const LineCase& line : kLines) {
        Canvas c = blankCanvas(line.width, line.height);
        drawLine(c, line.x1, line.y1, line.x2, line.y2, line.thickness, kStroke);
        EXPECT_EQ(picture(c), art(line.rows)) << line.x1 << "," << line.y1 << " " << line.x2 << "," << line.y2;
    }
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
        ASSERT_EQ(picture(clipped), picture(reference)) << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") t " << t;
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
        ASSERT_EQ(picture(huge), picture(twin)) << u << ":" << v << " through (" << cx << "," << cy << ") t " << t;
    }
}

TEST(RasterLine, ClippedWalkVisitsOnlyVisiblePoints) {
    int visits = 0;
    walkClippedLine(PixelPoint{-2'000'000'000, -1'000'000'000}, PixelPoint{2'000'000'000, 1'000'000'000},
                    PixelRect{0, 0, 39, 29}, [&](int64_t x, int64_t y) {
                        ++visits;
                        EXPECT_EQ(y, (x + 1) / 2) << x;
                    });
    EXPECT_EQ(visits, 40);
    walkClippedLine(PixelPoint{-2'000'000'000, 5}, PixelPoint{2'000'000'000, 5}, PixelRect{0, 0, 39, 4},
                    [&](int64_t, int64_t) { ++visits; });
    EXPECT_EQ(visits, 40);
}

}  // namespace
}  // namespace orvane::testing
