// Rectangles, circles and ellipses pixel by pixel, thin and thick, clipped
// at the edges, and the radius limit.
#include <gtest/gtest.h>

#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

TEST(RasterRect, FillThenOutlineOverwritesTheBorder) {
    Canvas c = blankCanvas(9, 7);
    fillCanvasRect(c, 2, 2, 5, 3, kFill);
    strokeRect(c, 2, 2, 5, 3, 1, kStroke);
    EXPECT_EQ(picture(c), art({".........",
                               ".........",
                               "..#####..",
                               "..#ooo#..",
                               "..#####..",
                               ".........",
                               "........."}));
}

TEST(RasterRect, ThickOutlineIsFourBandsInside) {
    Canvas c = blankCanvas(9, 7);
    fillCanvasRect(c, 1, 1, 7, 5, kFill);
    strokeRect(c, 1, 1, 7, 5, 2, kStroke);
    EXPECT_EQ(picture(c), art({".........",
                               ".#######.",
                               ".#######.",
                               ".##ooo##.",
                               ".#######.",
                               ".#######.",
                               "........."}));
    // Bands wider than the rectangle are clamped to it.
    Canvas solid = blankCanvas(4, 3);
    strokeRect(solid, 0, 0, 3, 2, 20, kStroke);
    EXPECT_EQ(picture(solid), art({"###.", "###.", "...."}));
}

TEST(RasterRect, EmptyAndOnePixelRectangles) {
    Canvas c = blankCanvas(3, 3);
    fillCanvasRect(c, 0, 0, 0, 3, kFill);
    fillCanvasRect(c, 0, 0, 3, -1, kFill);
    strokeRect(c, 0, 0, 0, 3, 1, kStroke);
    strokeRect(c, 0, 0, 3, 0, 4, kStroke);
    EXPECT_EQ(picture(c), art({"...", "...", "..."}));
    strokeRect(c, 1, 1, 1, 1, 1, kStroke);
    EXPECT_EQ(picture(c), art({"...", ".#.", "..."}));
}

TEST(RasterRect, ClipsAtEveryEdge) {
    Canvas topLeft = blankCanvas(6, 5);
    fillCanvasRect(topLeft, -2, -1, 5, 4, kFill);
    strokeRect(topLeft, -2, -1, 5, 4, 1, kStroke);
    EXPECT_EQ(picture(topLeft), art({"oo#...",
                                     "oo#...",
                                     "###...",
                                     "......",
                                     "......"}));
    Canvas bottomRight = blankCanvas(6, 5);
    fillCanvasRect(bottomRight, 3, 2, 5, 5, kFill);
    strokeRect(bottomRight, 3, 2, 5, 5, 1, kStroke);
    EXPECT_EQ(picture(bottomRight), art({"......",
                                         "......",
                                         "...###",
                                         "...#oo",
                                         "...#oo"}));
    // Sizes that reach past the 64-bit range end at its edge.
    Canvas all = blankCanvas(3, 2);
    fillCanvasRect(all, -5, -5, INT64_MAX, INT64_MAX, kFill);
    EXPECT_EQ(picture(all), art({"ooo", "ooo"}));
    fillCanvasRect(all, 2, 1, INT64_MAX, INT64_MAX, kStroke);
    fillCanvasRect(all, INT64_MAX - 1, 0, INT64_MAX, 5, kStroke);
    EXPECT_EQ(picture(all), art({"ooo", "oo#"}));
}

TEST(RasterCircle, FilledCircleRowsRoundToNearest) {
    Canvas c = blankCanvas(7, 7);
    fillCircle(c, 3, 3, 2, kFill);
    EXPECT_EQ(picture(c), art({".......",
                               "...o...",
                               ".ooooo.",
                               ".ooooo.",
                               ".ooooo.",
                               "...o...",
                               "......."}));
}

TEST(RasterCircle, MidpointOutline) {
    Canvas c = blankCanvas(9, 9);
    strokeCircle(c, 4, 4, 3, 1, kStroke);
    EXPECT_EQ(picture(c), art({".........",
                               "...###...",
                               "..#...#..",
                               ".#.....#.",
                               ".#.....#.",
                               ".#.....#.",
                               "..#...#..",
                               "...###...",
                               "........."}));
}

TEST(RasterCircle, ThickOutlineIsARingOfSpans) {
    Canvas c = blankCanvas(9, 9);
    strokeCircle(c, 4, 4, 4, 2, kStroke);
    EXPECT_EQ(picture(c), art({"....#....",
                               ".#######.",
                               ".###.###.",
                               "##.....##",
                               "##.....##",
                               "##.....##",
                               ".###.###.",
                               ".#######.",
                               "....#...."}));
}

TEST(RasterCircle, OutlineThickerThanTheRadiusIsSolid) {
    Canvas thick = blankCanvas(7, 7);
    strokeCircle(thick, 3, 3, 2, 3, kStroke);
    Canvas filled = blankCanvas(7, 7);
    fillCircle(filled, 3, 3, 2, kStroke);
    EXPECT_EQ(picture(thick), picture(filled));
    EXPECT_NE(picture(thick), picture(blankCanvas(7, 7)));
}

TEST(RasterCircle, RadiusZeroIsOnePixelAndNegativeIsNothing) {
    Canvas c = blankCanvas(3, 3);
    fillCircle(c, 1, 1, 0, kFill);
    strokeCircle(c, 1, 1, 0, 1, kStroke);
    EXPECT_EQ(picture(c), art({"...", ".#.", "..."}));
    Canvas none = blankCanvas(3, 3);
    fillCircle(none, 1, 1, -1, kFill);
    strokeCircle(none, 1, 1, -1, 1, kStroke);
    strokeCircle(none, 1, 1, INT32_MIN, 5, kStroke);
    EXPECT_EQ(picture(none), art({"...", "...", "..."}));
}

TEST(RasterCircle, ClipsAtEveryEdge) {
    Canvas topLeft = blankCanvas(4, 4);
    fillCircle(topLeft, 0, 0, 2, kFill);
    EXPECT_EQ(picture(topLeft), art({"ooo.", "ooo.", "o...", "...."}));
    Canvas bottomRight = blankCanvas(4, 4);
    fillCircle(bottomRight, 3, 3, 2, kFill);
    EXPECT_EQ(picture(bottomRight), art({"....", "...o", ".ooo", ".ooo"}));
    Canvas outline = blankCanvas(5, 5);
    strokeCircle(outline, 0, 0, 3, 1, kStroke);
    EXPECT_EQ(picture(outline), art({"...#.", "...#.", "..#..", "##...", "....."}));
}

TEST(RasterCircle, LargestRadiusDrawsAndOneMoreDrawsNothing) {
    // The bottom rows of a circle of radius 32767 whose top touches row 3:
    // row 3 is its single top pixel, the rows below are wider than the canvas.
    const char* expected[] = {"................................", "................................",
                              "................................", "................o...............",
                              "oooooooooooooooooooooooooooooooo"};
    Canvas c = blankCanvas(32, 5);
    fillCircle(c, 16, kMaxRadius + 3, kMaxRadius, kFill);
    EXPECT_EQ(picture(c), art({expected[0], expected[1], expected[2], expected[3], expected[4]}));
    Canvas none = blankCanvas(32, 5);
    fillCircle(none, 16, kMaxRadius + 4, kMaxRadius + 1, kFill);
    strokeCircle(none, 16, 16, kMaxRadius + 1, 1, kStroke);
    strokeCircle(none, 16, 16, INT32_MAX, 256, kStroke);
    EXPECT_EQ(picture(none), picture(blankCanvas(32, 5)));
}

TEST(RasterEllipse, FilledEllipse) {
    Canvas c = blankCanvas(11, 7);
    fillEllipse(c, 5, 3, 4, 2, kFill);
    EXPECT_EQ(picture(c), art({"...........",
                               ".....o.....",
                               "..ooooooo..",
                               ".ooooooooo.",
                               "..ooooooo..",
                               ".....o.....",
                               "..........."}));
}

TEST(RasterEllipse, MidpointOutlineOfAWideEllipse) {
    Canvas c = blankCanvas(11, 7);
    strokeEllipse(c, 5, 3, 4, 2, 1, kStroke);
    EXPECT_EQ(picture(c), art({"...........",
                               "...#####...",
                               "..#.....#..",
                               ".#.......#.",
                               "..#.....#..",
                               "...#####...",
                               "..........."}));
}

TEST(RasterEllipse, MidpointOutlineOfATallEllipseUsesRegionTwo) {
    Canvas c = blankCanvas(7, 11);
    strokeEllipse(c, 3, 5, 2, 4, 1, kStroke);
    EXPECT_EQ(picture(c), art({".......",
                               "...#...",
                               "..#.#..",
                               ".#...#.",
                               ".#...#.",
                               ".#...#.",
                               ".#...#.",
                               ".#...#.",
                               "..#.#..",
                               "...#...",
                               "......."}));
}

TEST(RasterEllipse, ThickOutlineIsARingOfSpans) {
    Canvas c = blankCanvas(11, 7);
    strokeEllipse(c, 5, 3, 5, 3, 2, kStroke);
    EXPECT_EQ(picture(c), art({".....#.....",
                               ".#########.",
                               "#####.#####",
                               "##.......##",
                               "#####.#####",
                               ".#########.",
                               ".....#....."}));
}

TEST(RasterEllipse, OutlineThickerThanARadiusIsSolid) {
    Canvas thick = blankCanvas(11, 7);
    strokeEllipse(thick, 5, 3, 4, 2, 30, kStroke);
    Canvas filled = blankCanvas(11, 7);
    fillEllipse(filled, 5, 3, 4, 2, kStroke);
    EXPECT_EQ(picture(thick), picture(filled));
    EXPECT_NE(picture(thick), picture(blankCanvas(11, 7)));
}

TEST(RasterEllipse, DegenerateRadii) {
    Canvas c = blankCanvas(9, 5);
    fillEllipse(c, 1, 1, 0, 0, kFill);
    strokeEllipse(c, 6, 2, 0, 0, 3, kStroke);
    fillEllipse(c, 3, 4, 2, 0, kFill);
    EXPECT_EQ(picture(c), art({".........",
                               ".o...###.",
                               ".....###.",
                               ".....###.",
                               ".ooooo..."}));
    // A flat outline is only its centre; a thin one its vertical line.
    Canvas outlines = blankCanvas(7, 5);
    strokeEllipse(outlines, 1, 2, 3, 0, 1, kStroke);
    strokeEllipse(outlines, 5, 2, 0, 2, 1, kStroke);
    EXPECT_EQ(picture(outlines), art({".....#.", ".....#.", ".#...#.", ".....#.", ".....#."}));
}

TEST(RasterEllipse, NegativeAndOversizedRadiiDrawNothing) {
    Canvas c = blankCanvas(5, 5);
    fillEllipse(c, 2, 2, -1, 2, kFill);
    fillEllipse(c, 2, 2, 2, -1, kFill);
    strokeEllipse(c, 2, 2, -1, -1, 3, kStroke);
    fillEllipse(c, 2, 2, kMaxRadius + 1, 2, kFill);
    fillEllipse(c, 2, 2, 2, kMaxRadius + 1, kFill);
    strokeEllipse(c, 2, 2, INT32_MAX, INT32_MAX, 1, kStroke);
    strokeEllipse(c, 2, 2, kMaxRadius + 1, kMaxRadius, 4, kStroke);
    EXPECT_EQ(picture(c), picture(blankCanvas(5, 5)));
    // The largest radii still draw: the top of a huge ellipse below.
    strokeEllipse(c, 2, 2, kMaxRadius, kMaxRadius, 1, kStroke);
    fillEllipse(c, 2, kMaxRadius + 3, kMaxRadius, kMaxRadius, kFill);
    EXPECT_EQ(picture(c), art({".....", ".....", ".....", "..o..", "ooooo"}));
}

TEST(RasterEllipse, ClipsAtEveryEdge) {
    Canvas topLeft = blankCanvas(5, 3);
    fillEllipse(topLeft, 0, 0, 4, 2, kFill);
    EXPECT_EQ(picture(topLeft), art({"ooooo", "oooo.", "o...."}));
    Canvas bottomRight = blankCanvas(5, 3);
    strokeEllipse(bottomRight, 4, 2, 4, 2, 1, kStroke);
    EXPECT_EQ(picture(bottomRight), art({"..###", ".#...", "#...."}));
}

}  // namespace
}  // namespace orvane::testing
