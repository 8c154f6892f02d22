// Polygon coverage and the pointer glyphs: even-odd holes, sampling at
// pixel centres, the rotation table, inward outlines and clipping.
#include <gtest/gtest.h>

#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

struct MaskCase {
    std::vector<PixelPoint> points;
    int64_t left, top, width, height;
    std::vector<const char*> rows;
};

const MaskCase kMasks[] = {
    {{{0, 0}, {4, 0}, {0, 4}}, 0, 0, 4, 4, {"####", "###.", "##..", "#..."}},  // sampled at pixel centres
    {{{0, 0}, {4, 0}, {0, 4}}, 1, 1, 2, 2, {"##", "#."}},                      // a box elsewhere: the same, cut
    {{{0, 0}, {4, 0}, {0, 4}}, -2, 2, 4, 3, {"..##", "..#.", "...."}},
    // Outer and inner squares traced the same way round: winding two inside, a hole.
    {{{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}}, 0, 0, 6, 6,
     {"######", "######", "##..##", "##..##", "######", "######"}},
    {{{64, 0}, {65, 0}, {65, 1}, {64, 1}}, 60, 0, 8, 1, {"....#..."}},  // a run inside a second word of bits
    {{{0, 0}, {3, 3}}, 0, 0, 3, 3, {"...", "...", "..."}},               // fewer than three points
};

TEST(PolygonMask, CoversThePixelCentresInsideEvenOdd) {
    for (const MaskCase& m : kMasks) {
        CoverageMask mask;
        polygonMask(m.points, m.left, m.top, m.width, m.height, mask);
        std::string out;
        for (int64_t y = m.top; y < m.top + m.height; ++y) {
            for (int64_t x = m.left; x < m.left + m.width; ++x) out += mask.covers(x, y) ? '#' : '.';
            out += '\n';
        }
        EXPECT_EQ(out, art(m.rows)) << m.points.size() << " points at " << m.left << "," << m.top;
    }
    CoverageMask wide;  // runs starting, ending inside and spanning 64-bit words
    polygonMask(std::vector<PixelPoint>{{3, 0}, {197, 0}, {197, 1}, {3, 1}}, 0, 0, 200, 1, wide);
    for (int64_t x = 0; x < 200; ++x) EXPECT_EQ(wide.covers(x, 0), x >= 3 && x < 197) << x;
}

GlyphStyle pens(int32_t thickness) { return GlyphStyle{true, kFill, true, kStroke, thickness}; }

TEST(RasterGlyph, SmallArrowFilledAndOutlinedThinAndThick) {
    Canvas thin = blankCanvas(11, 11);
    drawGlyph(thin, arrowGlyph(), 5, 0, 10, 0, pens(1));
    EXPECT_EQ(picture(thin), art({".....#.....", "....o##....", "....#o#....", "...o#oo#...", "...#ooo#...", "..o#oooo#..",
                                  "..###o###..", "....#o#....", "....#o#....", "....#o#....", "....###...."}));
    Canvas thick = blankCanvas(11, 11);  // the outline grows inwards only
    drawGlyph(thick, arrowGlyph(), 5, 0, 10, 0, pens(2));
    EXPECT_EQ(picture(thick), art({".....#.....", "....###....", "....###....", "...#####...", "...#####...", "..#######..",
                                   "..#######..", "....###....", "....###....", "....###....", "....###...."}));
}

TEST(RasterGlyph, HugeGlyphIsClippedAndItsOutlineStillGrowsInwards) {
    // A canvas on the left edge of the shaft of an arrow two thousand million pixels tall.
    Canvas thin = blankCanvas(24, 2), thick = blankCanvas(24, 2), inside = blankCanvas(8, 2);
    drawGlyph(thin, arrowGlyph(), 220'000'010, -1'500'000'000, 2'000'000'000, 0, pens(1));
    drawGlyph(thick, arrowGlyph(), 220'000'010, -1'500'000'000, 2'000'000'000, 0, pens(3));
    drawGlyph(inside, arrowGlyph(), 0, -1'800'000'000, INT32_MAX, 0, pens(256));
    EXPECT_EQ(picture(thin), art({"..........#ooooooooooooo", "..........#ooooooooooooo"}));
    EXPECT_EQ(picture(thick), art({"..........###ooooooooooo", "..........###ooooooooooo"}));
    EXPECT_EQ(picture(inside), art({"oooooooo", "oooooooo"}));
}

TEST(RasterGlyph, TurnsClockwiseInStepsOf45DegreesThroughEveryTablePoint) {
    // Where the wing point (30, 62) and the shaft point (0, 80) of an arrow
    // of size 100 land for each angle.
    constexpr int32_t kWing[8][2] = {{30, 62}, {-23, 65}, {-62, 30}, {-65, -23}, {-30, -62}, {23, -65}, {62, -30}, {65, 23}};
    constexpr int32_t kShaft[8][2] = {{0, 80}, {-57, 57}, {-80, 0}, {-57, -57}, {0, -80}, {57, -57}, {80, 0}, {57, 57}};
    for (int32_t k = 0; k < 8; ++k) {
        Canvas outline = blankCanvas(301, 301), filled = blankCanvas(301, 301);
        drawGlyph(outline, arrowGlyph(), 150, 150, 100, k + 8 * (k - 4), GlyphStyle{false, 0, true, kStroke, 1});
        drawGlyph(filled, arrowGlyph(), 150, 150, 100, k, GlyphStyle{true, kFill, false, 0, 1});
        EXPECT_EQ(outline.at(150, 150), kStroke) << "tip, angle " << k;
        EXPECT_EQ(outline.at(150 + kWing[k][0], 150 + kWing[k][1]), kStroke) << "wing, angle " << k;
        EXPECT_EQ(filled.at(150 + kShaft[k][0], 150 + kShaft[k][1]), kFill) << "shaft, angle " << k;
        EXPECT_EQ(filled.at(150 + kShaft[(k + 4) % 8][0], 150 + kShaft[(k + 4) % 8][1]), kBackground) << "angle " << k;
    }
    for (auto glyph : {arrowGlyph(), handGlyph()}) {
        Canvas c = blankCanvas(160, 160);
        drawGlyph(c, glyph, 60, 20, 100, 0, GlyphStyle{false, 0, true, kStroke, 1});
        for (const GlyphPoint& p : glyph) EXPECT_EQ(c.at(60 + p.x, 20 + p.y), kStroke) << p.x << "," << p.y;
    }
}

TEST(RasterGlyph, ClippedGlyphShowsTheWindowOfTheWholeOne) {
    // Small canvases round the tip at (60, 60) of a glyph drawn whole on a
    // big one: their edges cut the glyph on every side as it turns.
    const int32_t windows[][2] = {{41, 45}, {50, 52}, {59, 59}, {60, 60}, {41, 60}, {60, 45}, {50, 65}, {35, 70}};
    for (auto glyph : {arrowGlyph(), handGlyph()}) {
        for (int32_t angle = 0; angle < 8; ++angle) {
            for (int32_t size : {7, 13, 30}) {
                for (int32_t t : {1, 2, 4}) {
                    Canvas whole = blankCanvas(120, 120);
                    drawGlyph(whole, glyph, 60, 60, size, angle, pens(t));
                    for (const auto& [x, y] : windows) {
                        Canvas part = blankCanvas(20, 16);
                        drawGlyph(part, glyph, 60 - x, 60 - y, size, angle, pens(t));
                        ASSERT_EQ(picture(part), picture(whole, x, y, 20, 16))
                            << "angle " << angle << " size " << size << " thickness " << t << " window " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(RasterGlyph, NothingWithoutSizeOrPensOrOnTheCanvas) {
    Canvas c = blankCanvas(10, 10);
    drawGlyph(c, arrowGlyph(), 5, 0, 0, 0, pens(1));
    drawGlyph(c, arrowGlyph(), 5, 0, -7, 0, pens(1));
    drawGlyph(c, handGlyph(), 5, 0, 9, 0, GlyphStyle{false, kFill, false, kStroke, 3});
    drawGlyph(c, handGlyph(), 50, 50, 9, 0, pens(3));
    EXPECT_EQ(picture(c), picture(blankCanvas(10, 10)));
}

}  // namespace
}  // namespace orvane::testing
