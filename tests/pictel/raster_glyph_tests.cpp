// Polygon coverage and the pointer glyphs: even-odd holes, sampling at
// pixel centres, the rotation table, inward outlines and clipping.
#include <gtest/gtest.h>

#include <vector>

#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

std::string maskArt(std::span<const PixelPoint> points, int64_t left, int64_t top, int64_t width, int64_t height) {
    CoverageMask mask;
    polygonMask(points, left, top, width, height, mask);
    std::string out;
    for (int64_t y = top; y < top + height; ++y) {
        for (int64_t x = left; x < left + width; ++x) out += mask.covers(x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

TEST(PolygonMask, SamplesAtPixelCentres) {
    const std::vector<PixelPoint> triangle{{0, 0}, {4, 0}, {0, 4}};
    EXPECT_EQ(maskArt(triangle, 0, 0, 4, 4), art({"####", "###.", "##..", "#..."}));
    // A box elsewhere sees the same coverage, cut to the box.
    EXPECT_EQ(maskArt(triangle, 1, 1, 2, 2), art({"##", "#."}));
    EXPECT_EQ(maskArt(triangle, -2, 2, 4, 3), art({"..##", "..#.", "...."}));
}

TEST(PolygonMask, EvenOddLeavesAHoleWhereTheOutlineWindsTwice) {
    // Outer and inner squares traced the same way round: winding two inside.
    const std::vector<PixelPoint> frame{{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0},
                                        {2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
    EXPECT_EQ(maskArt(frame, 0, 0, 8, 8), art({"########",
                                              "########",
                                              "##....##",
                                              "##....##",
                                              "##....##",
                                              "##....##",
                                              "########",
                                              "########"}));
}

TEST(PolygonMask, RowsWiderThanOneWordOfBits) {
    // Runs starting and ending inside, and spanning, 64-bit words.
    const std::vector<PixelPoint> band{{3, 0}, {197, 0}, {197, 1}, {3, 1}};
    const std::string row = maskArt(band, 0, 0, 200, 1);
    EXPECT_EQ(row, std::string(3, '.') + std::string(194, '#') + std::string(3, '.') + "\n");
    const std::vector<PixelPoint> narrow{{64, 0}, {65, 0}, {65, 1}, {64, 1}};
    EXPECT_EQ(maskArt(narrow, 60, 0, 8, 1), "....#...\n");
}

TEST(PolygonMask, FewerThanThreePointsCoverNothing) {
    const std::vector<PixelPoint> segment{{0, 0}, {3, 3}};
    EXPECT_EQ(maskArt(segment, 0, 0, 3, 3), art({"...", "...", "..."}));
}

GlyphStyle fillAndStroke(int32_t thickness) { return GlyphStyle{true, kFill, true, kStroke, thickness}; }

TEST(RasterGlyph, SmallArrowFilledAndOutlined) {
    Canvas c = blankCanvas(11, 12);
    drawGlyph(c, arrowGlyph(), 5, 0, 10, 0, fillAndStroke(1));
    EXPECT_EQ(picture(c), art({".....#.....",
                               "....o##....",
                               "....#o#....",
                               "...o#oo#...",
                               "...#ooo#...",
                               "..o#oooo#..",
                               "..###o###..",
                               "....#o#....",
                               "....#o#....",
                               "....#o#....",
                               "....###....",
                               "..........."}));
}

TEST(RasterGlyph, ThickOutlineGrowsOnlyInwards) {
    Canvas c = blankCanvas(11, 12);
    drawGlyph(c, arrowGlyph(), 5, 0, 10, 0, fillAndStroke(2));
    EXPECT_EQ(picture(c), art({".....#.....",
                               "....###....",
                               "....###....",
                               "...#####...",
                               "...#####...",
                               "..#######..",
                               "..#######..",
                               "....###....",
                               "....###....",
                               "....###....",
                               "....###....",
                               "..........."}));
}

TEST(RasterGlyph, HugeGlyphIsClippedAndItsOutlineStillGrowsInwards) {
    // A canvas on the left edge of the shaft of an arrow two thousand
    // million pixels tall.
    const int32_t size = 2'000'000'000;
    const int32_t x = 220'000'010;
    const int32_t y = -1'500'000'000;
    Canvas thin = blankCanvas(24, 3);
    drawGlyph(thin, arrowGlyph(), x, y, size, 0, fillAndStroke(1));
    EXPECT_EQ(picture(thin), art({"..........#ooooooooooooo",
                                  "..........#ooooooooooooo",
                                  "..........#ooooooooooooo"}));
    Canvas thick = blankCanvas(24, 3);
    drawGlyph(thick, arrowGlyph(), x, y, size, 0, fillAndStroke(3));
    EXPECT_EQ(picture(thick), art({"..........###ooooooooooo",
                                   "..........###ooooooooooo",
                                   "..........###ooooooooooo"}));
    Canvas inside = blankCanvas(8, 3);
    drawGlyph(inside, arrowGlyph(), 0, -1'800'000'000, INT32_MAX, 0, fillAndStroke(256));
    EXPECT_EQ(picture(inside), art({"oooooooo", "oooooooo", "oooooooo"}));
}

struct Offset {
    int32_t x;
    int32_t y;
};

// Where the wing point (30, 62) and the shaft point (0, 80) of an arrow of
// size 100 land for each angle: k x 45 degrees clockwise on screen.
constexpr Offset kWing[8] = {{30, 62}, {-23, 65}, {-62, 30}, {-65, -23}, {-30, -62}, {23, -65}, {62, -30}, {65, 23}};
constexpr Offset kShaft[8] = {{0, 80}, {-57, 57}, {-80, 0}, {-57, -57}, {0, -80}, {57, -57}, {80, 0}, {57, 57}};

TEST(RasterGlyph, RotationTableTurnsClockwiseInStepsOf45Degrees) {
    for (int32_t k = 0; k < 8; ++k) {
        Canvas outline = blankCanvas(301, 301);
        drawGlyph(outline, arrowGlyph(), 150, 150, 100, k, GlyphStyle{false, 0, true, kStroke, 1});
        EXPECT_EQ(outline.at(150, 150), kStroke) << "tip, angle " << k;
        EXPECT_EQ(outline.at(150 + kWing[k].x, 150 + kWing[k].y), kStroke) << "wing, angle " << k;
        Canvas filled = blankCanvas(301, 301);
        drawGlyph(filled, arrowGlyph(), 150, 150, 100, k, GlyphStyle{true, kFill, false, 0, 1});
        EXPECT_EQ(filled.at(150 + kShaft[k].x, 150 + kShaft[k].y), kFill) << "shaft, angle " << k;
        const int32_t opposite = (k + 4) % 8;
        EXPECT_EQ(filled.at(150 + kShaft[opposite].x, 150 + kShaft[opposite].y), kBackground) << "angle " << k;
    }
}

TEST(RasterGlyph, AngleIsTakenModuloEight) {
    Canvas two = blankCanvas(40, 40);
    drawGlyph(two, handGlyph(), 30, 10, 25, 2, fillAndStroke(2));
    for (int32_t angle : {10, -6, 2 + 8 * 1000}) {
        Canvas same = blankCanvas(40, 40);
        drawGlyph(same, handGlyph(), 30, 10, 25, angle, fillAndStroke(2));
        EXPECT_EQ(picture(same), picture(two)) << angle;
    }
}

TEST(RasterGlyph, OutlinePassesThroughEveryTablePoint) {
    for (auto glyph : {arrowGlyph(), handGlyph()}) {
        Canvas c = blankCanvas(160, 160);
        drawGlyph(c, glyph, 60, 20, 100, 0, GlyphStyle{false, 0, true, kStroke, 1});
        for (const GlyphPoint& p : glyph) EXPECT_EQ(c.at(60 + p.x, 20 + p.y), kStroke) << p.x << "," << p.y;
    }
    EXPECT_EQ(arrowGlyph().size(), 7u);
    EXPECT_EQ(handGlyph().size(), 19u);
}

TEST(RasterGlyph, ClippedGlyphShowsTheWindowOfTheWholeOne) {
    // Small canvases round the tip at (60, 60) of a glyph drawn whole on a
    // big one: their edges cut the glyph on every side as it turns.
    const Offset windows[] = {{41, 45}, {50, 52}, {59, 59}, {60, 60}, {41, 60}, {60, 45}, {50, 65}, {35, 70}};
    for (auto glyph : {arrowGlyph(), handGlyph()}) {
        for (int32_t angle = 0; angle < 8; ++angle) {
            for (int32_t size : {7, 13, 30}) {
                for (int32_t t : {1, 2, 4}) {
                    Canvas whole = blankCanvas(120, 120);
                    drawGlyph(whole, glyph, 60, 60, size, angle, fillAndStroke(t));
                    for (const Offset& w : windows) {
                        Canvas part = blankCanvas(20, 16);
                        drawGlyph(part, glyph, 60 - w.x, 60 - w.y, size, angle, fillAndStroke(t));
                        ASSERT_EQ(picture(part), pictureOfWindow(whole, w.x, w.y, 20, 16))
                            << "angle " << angle << " size " << size << " thickness " << t << " window " << w.x
                            << "," << w.y;
                    }
                }
            }
        }
    }
}

TEST(RasterGlyph, NothingWithoutSizeOrPens) {
    Canvas c = blankCanvas(10, 10);
    drawGlyph(c, arrowGlyph(), 5, 0, 0, 0, fillAndStroke(1));
    drawGlyph(c, arrowGlyph(), 5, 0, -7, 0, fillAndStroke(1));
    drawGlyph(c, handGlyph(), 5, 0, 9, 0, GlyphStyle{false, kFill, false, kStroke, 3});
    drawGlyph(c, handGlyph(), 50, 50, 9, 0, fillAndStroke(3));
    EXPECT_EQ(picture(c), picture(blankCanvas(10, 10)));
}

}  // namespace
}  // namespace orvane::testing
