// Rectangles, circles and ellipses pixel by pixel, thin and thick, clipped
// at the edges, and the radius limit.
#include <gtest/gtest.h>

#include <functional>

#include "pictel/raster.h"
#include "raster_support.h"

namespace orvane::testing {
namespace {

struct ShapeCase {
    const char* what;
    int32_t width;
    int32_t height;
    std::function<void(Canvas&)> draw;
    std::vector<const char*> rows;
};

const int32_t R = kMaxRadius;

const ShapeCase kShapes[] = {
    {"rectangle filled then outlined", 9, 5, [](Canvas& c) { fillCanvasRect(c, 2, 1, 5, 3, kFill); strokeRect(c, 2, 1, 5, 3, 1, kStroke); },
     {".........", "..#####..", "..#ooo#..", "..#####..", "........."}},
    {"thick outline is four bands inside", 9, 7, [](Canvas& c) { fillCanvasRect(c, 1, 1, 7, 5, kFill); strokeRect(c, 1, 1, 7, 5, 2, kStroke); },
     {".........", ".#######.", ".#######.", ".##ooo##.", ".#######.", ".#######.", "........."}},
    {"bands wider than the rectangle are clamped", 4, 3, [](Canvas& c) { strokeRect(c, 0, 0, 3, 2, 20, kStroke); }, {"###.", "###.", "...."}},
    {"empty and one-pixel rectangles", 3, 3,
     [](Canvas& c) { fillCanvasRect(c, 0, 0, 0, 3, kFill); fillCanvasRect(c, 0, 0, 3, -1, kFill); strokeRect(c, 0, 0, 3, 0, 4, kStroke); strokeRect(c, 1, 1, 1, 1, 1, kStroke); },
     {"...", ".#.", "..."}},
    {"rectangle clipped top left", 6, 4, [](Canvas& c) { fillCanvasRect(c, -2, -1, 5, 4, kFill); strokeRect(c, -2, -1, 5, 4, 1, kStroke); },
     {"oo#...", "oo#...", "###...", "......"}},
    {"rectangle clipped bottom right", 6, 4, [](Canvas& c) { fillCanvasRect(c, 3, 1, 5, 5, kFill); strokeRect(c, 3, 1, 5, 5, 1, kStroke); },
     {"......", "...###", "...#oo", "...#oo"}},
    {"sizes past the 64-bit range end at its edge", 3, 2,
     [](Canvas& c) { fillCanvasRect(c, -5, -5, INT64_MAX, INT64_MAX, kFill); fillCanvasRect(c, 2, 1, INT64_MAX, INT64_MAX, kStroke); fillCanvasRect(c, INT64_MAX - 1, 0, INT64_MAX, 5, kStroke); },
     {"ooo", "oo#"}},
    {"filled circle rows round to nearest", 7, 7, [](Canvas& c) { fillCircle(c, 3, 3, 2, kFill); },
     {".......", "...o...", ".ooooo.", ".ooooo.", ".ooooo.", "...o...", "......."}},
    {"midpoint circle", 9, 9, [](Canvas& c) { strokeCircle(c, 4, 4, 3, 1, kStroke); },
     {".........", "...###...", "..#...#..", ".#.....#.", ".#.....#.", ".#.....#.", "..#...#..", "...###...", "........."}},
    {"thick circle is a ring of spans", 9, 9, [](Canvas& c) { strokeCircle(c, 4, 4, 4, 2, kStroke); },
     {"....#....", ".#######.", ".###.###.", "##.....##", "##.....##", "##.....##", ".###.###.", ".#######.", "....#...."}},
    {"circle as thick as its radius keeps its centre", 5, 5, [](Canvas& c) { strokeCircle(c, 2, 2, 2, 2, kStroke); },
     {"..#..", "#####", "##.##", "#####", "..#.."}},
    {"circle thicker than its radius is solid", 5, 5, [](Canvas& c) { strokeCircle(c, 2, 2, 2, 3, kStroke); },
     {"..#..", "#####", "#####", "#####", "..#.."}},
    {"radius zero is one pixel, negative nothing", 3, 3,
     [](Canvas& c) { fillCircle(c, 1, 1, 0, kFill); strokeCircle(c, 1, 1, 0, 1, kStroke); fillCircle(c, 0, 0, -1, kFill); strokeCircle(c, 0, 0, INT32_MIN, 5, kStroke); },
     {"...", ".#.", "..."}},
    {"circles clipped at the edges", 5, 5,
     [](Canvas& c) { fillCircle(c, 4, 4, 2, kFill); strokeCircle(c, 0, 0, 3, 1, kStroke); },
     {"...#.", "...#.", "..#.o", "##ooo", "..ooo"}},
    {"largest radius draws, one more nothing", 8, 5,
     [](Canvas& c) { fillCircle(c, 4, R + 3, R, kFill); fillCircle(c, 4, R + 2, R + 1, kStroke); strokeCircle(c, 4, 4, INT32_MAX, 256, kStroke); },
     {"........", "........", "........", "....o...", "oooooooo"}},
    {"filled ellipse", 11, 7, [](Canvas& c) { fillEllipse(c, 5, 3, 4, 2, kFill); },
     {"...........", ".....o.....", "..ooooooo..", ".ooooooooo.", "..ooooooo..", ".....o.....", "..........."}},
    {"midpoint outline of a wide ellipse", 11, 7, [](Canvas& c) { strokeEllipse(c, 5, 3, 4, 2, 1, kStroke); },
     {"...........", "...#####...", "..#.....#..", ".#.......#.", "..#.....#..", "...#####...", "..........."}},
    {"midpoint outline of a tall ellipse", 7, 11, [](Canvas& c) { strokeEllipse(c, 3, 5, 2, 4, 1, kStroke); },
     {".......", "...#...", "..#.#..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..#.#..", "...#...", "......."}},
    {"region two of an ellipse one pixel tall", 3, 3, [](Canvas& c) { strokeEllipse(c, 1, 1, 0, 1, 1, kStroke); },
     {".#.", "#.#", ".#."}},
    {"thick ellipse is a ring of spans", 11, 7, [](Canvas& c) { strokeEllipse(c, 5, 3, 5, 3, 2, kStroke); },
     {".....#.....", ".#########.", "#####.#####", "##.......##", "#####.#####", ".#########.", ".....#....."}},
    {"ellipse thicker than a radius is solid", 11, 7, [](Canvas& c) { strokeEllipse(c, 5, 3, 4, 2, 30, kStroke); },
     {"...........", ".....#.....", "..#######..", ".#########.", "..#######..", ".....#.....", "..........."}},
    {"degenerate radii", 9, 5,
     [](Canvas& c) { fillEllipse(c, 1, 1, 0, 0, kFill); strokeEllipse(c, 6, 2, 0, 0, 3, kStroke); fillEllipse(c, 3, 4, 2, 0, kFill); },
     {".........", ".o...###.", ".....###.", ".....###.", ".ooooo..."}},
    {"flat outlines", 7, 5, [](Canvas& c) { strokeEllipse(c, 1, 2, 3, 0, 1, kStroke); strokeEllipse(c, 5, 2, 0, 2, 1, kStroke); },
     {".....#.", ".....#.", ".#...#.", ".....#.", ".....#."}},
    {"negative and oversized radii draw nothing, the largest draw", 5, 5,
     [](Canvas& c) {
         fillEllipse(c, 2, 2, -1, 2, kStroke); fillEllipse(c, 2, 2, 2, -1, kStroke); strokeEllipse(c, 2, 2, -1, -1, 3, kStroke);
         fillEllipse(c, 2, 2, R + 1, 2, kStroke); strokeEllipse(c, 2, 2, INT32_MAX, INT32_MAX, 1, kStroke);
         strokeEllipse(c, 2, 2, R + 1, R, 4, kStroke); strokeEllipse(c, 2, 2, R, R, 1, kStroke); fillEllipse(c, 2, R + 3, R, R, kFill);
     },
     {".....", ".....", ".....", "..o..", "ooooo"}},
    {"ellipses clipped at the edges", 5, 3, [](Canvas& c) { fillEllipse(c, 0, 0, 4, 2, kFill); strokeEllipse(c, 4, 2, 4, 2, 1, kStroke); },
     {"oo###", "o#oo.", "#...."}},
};

TEST(RasterShapes, DrawExactlyTheirPixels) {
    for (const ShapeCase& shape : kShapes) {
        Canvas c = blankCanvas(shape.width, shape.height);
        shape.draw(c);
        EXPECT_EQ(picture(c), art(shape.rows)) << shape.what;
    }
}

}  // namespace
}  // namespace orvane::testing
