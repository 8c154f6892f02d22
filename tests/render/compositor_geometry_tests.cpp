#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "render/compositor_geometry.h"

namespace orvane {
namespace {

constexpr int32_t kBig = std::numeric_limits<int32_t>::max();
using Rect = std::optional<PixelRect>;

TEST(BackgroundGeometry, FitsTheImageIntoTheGrid) {
    const struct { int32_t fit, imageWidth, imageHeight; PixelRect grid; Rect drawn; } cases[] = {
        // aspect: scaled by the smaller ratio, centred; thin pictures keep a pixel, 2.5 rounds up
        {kFitAspect, 400, 100, {10, 20, 650, 420}, PixelRect{10, 140, 650, 300}},
        {kFitAspect, 100, 400, {0, 0, 640, 400}, PixelRect{270, 0, 370, 400}},
        {kFitAspect, 4, 1, {0, 0, 10, 100}, PixelRect{0, 48, 10, 51}},
        {kFitAspect, 1000, 1, {0, 0, 10, 10}, PixelRect{0, 4, 10, 5}},
        {7, 400, 100, {0, 0, 640, 400}, PixelRect{0, 120, 640, 280}},  // unknown fit is aspect
        {kFitStretch, 400, 100, {5, 6, 105, 56}, PixelRect{5, 6, 105, 56}},
        // center: own size, offsets truncated toward zero
        {kFitCenter, 100, 50, {0, 0, 640, 400}, PixelRect{270, 175, 370, 225}},
        {kFitCenter, 641, 401, {0, 0, 640, 400}, PixelRect{0, 0, 641, 401}},
        {kFitCenter, 643, 403, {0, 0, 640, 400}, PixelRect{-1, -1, 642, 402}},
        // nothing to draw: empty grid or image, over the pixel cap, past 32 bits
        {kFitStretch, 400, 100, {0, 0, 0, 400}, std::nullopt},
        {kFitAspect, 400, 100, {0, 0, 640, -1}, std::nullopt},
        {kFitCenter, 0, 100, {0, 0, 640, 400}, std::nullopt},
        {kFitStretch, 1, 1, {0, 0, 10000, 10000}, std::nullopt},
        {kFitCenter, 100, 100, {kBig - 60, 0, kBig, 60}, std::nullopt},
        {kFitAspect, 10, 10, {-kBig, -kBig, kBig, kBig}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backgroundDrawRect(c.fit, c.imageWidth, c.imageHeight, c.grid), c.drawn)
            << c.fit << " " << c.imageWidth << "x" << c.imageHeight << " in " << c.grid.right << "x" << c.grid.bottom;
}

TEST(BackgroundGeometry, OpacityAlphaRoundingAndGridRectangle) {
    for (const auto& [opacity, alpha] : {std::pair{100, 255}, {50, 128}, {1, 3}, {0, 0}, {99, 252}, {2, 5}, {-5, 0},
                                         {150, 255}})
        EXPECT_EQ(backgroundAlpha(opacity), alpha) << opacity;
    const std::pair<double, std::optional<int32_t>> rounding[] = {
        {0.5, 1}, {-0.5, -1}, {2.5, 3}, {-2.5, -3}, {2.49, 2}, {-2.49, -2}, {2147483647.4, kBig},
        {2147483647.5, std::nullopt}, {-2147483648.4, -kBig - 1}, {-2147483648.5, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt}, {std::numeric_limits<double>::infinity(), std::nullopt}};
    for (const auto& [v, expected] : rounding) EXPECT_EQ(roundToInt32(v), expected) << v;
    EXPECT_EQ(gridRect({3, 4, 8, 16, 80, 25}), (PixelRect{3, 4, 643, 404}));
    EXPECT_EQ(gridRect({0, 0, 8, 16, 0, 25}), std::nullopt);
    EXPECT_EQ(gridRect({0, 0, kBig, 16, 80, 25}), std::nullopt);
}

Canvas canvasOfSize(int32_t w, int32_t h, PixelRect view = {}, bool valid = true) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.valid = valid;
    c.viewX = view.left;
    c.viewY = view.top;
    c.viewWidth = view.right - view.left;
    c.viewHeight = view.bottom - view.top;
    return c;
}

// Placement of canvas 1: row, its hundredths, column, its hundredths, width in cells and hundredths.
Placement at(int32_t row, int32_t rowH, int32_t col, int32_t colH, int32_t cells, int32_t cellsH, bool visible = true) {
    return {1, row, rowH, col, colH, cells, cellsH, visible};
}

TEST(GlassGeometry, PlacesCanvasesInCellsAndHundredths) {
    const Canvas wide = canvasOfSize(200, 100);
    const GridFrame f{5, 7, 8, 16, 80, 25};
    const GridFrame f0{0, 0, 8, 16, 80, 25};
    const GridFrame f10{0, 0, 10, 10, 80, 25};
    const PixelRect all{0, 0, 200, 100};
    const struct { const char* what; Canvas canvas; Placement p; GridFrame frame; GlassOrigin origin;
                   std::optional<std::pair<PixelRect, PixelRect>> blit; } cases[] = {
        {"10.5 cells, height by aspect", wide, at(2, 0, 3, 0, 10, 50), f, {}, {{all, {29, 39, 113, 81}}}},
        {"origin offsets for 132 x 24", wide, at(0, 0, 60, 0, 1, 0), {0, 0, 8, 16, 132, 24}, {},
         {{all, {64, 16, 72, 20}}}},
        {"origin with hundredths", wide, at(0, 0, 0, 0, 1, 0), f10, {25, 50, 80, -30}, {{all, {-3, 5, 7, 10}}}},
        {"0.48 px rounds down", wide, at(0, 3, 0, 0, 1, 0), f0, {}, {{all, {0, 0, 8, 4}}}},
        {"half a pixel rounds away from zero", wide, at(0, 5, 0, -5, 1, 0), f10, {}, {{all, {-1, 1, 9, 6}}}},
        {"the view is the source", canvasOfSize(200, 100, {10, 10, 60, 90}), at(0, 0, 0, 0, 10, 0), f, {},
         {{{10, 10, 60, 90}, {5, 7, 85, 135}}}},
        {"a view without height shows it all", canvasOfSize(200, 100, {10, 10, 60, 10}), at(0, 0, 0, 0, 25, 0), f, {},
         {{all, {5, 7, 205, 107}}}},
        {"exactly the pixel cap", canvasOfSize(7, 7), at(0, 0, 0, 0, 512, 0), f0, {}, {{{0, 0, 7, 7}, {0, 0, 4096, 4096}}}},
        {"one row over the pixel cap", canvasOfSize(4096, 4097), at(0, 0, 0, 0, 512, 0), f0, {}, {}},
        {"hidden", wide, at(0, 0, 0, 0, 10, 0, false), f, {}, {}},
        {"invalid canvas", canvasOfSize(10, 10, {}, false), at(0, 0, 0, 0, 10, 0), f, {}, {}},
        {"canvas without width", canvasOfSize(0, 10), at(0, 0, 0, 0, 10, 0), f, {}, {}},
        {"canvas without height", canvasOfSize(10, 0), at(0, 0, 0, 0, 10, 0), f, {}, {}},
        {"zero width", wide, at(0, 0, 0, 0, 0, 0), f, {}, {}},
        {"width rounds to zero", wide, at(0, 0, 0, 0, 0, 6), f, {}, {}},
        {"negative width", wide, at(0, 0, 0, 0, -3, 0), f, {}, {}},
        {"height below one pixel", canvasOfSize(1000, 1), at(0, 0, 0, 0, 1, 0), f, {}, {}},
        {"width past 32 bits", wide, at(0, 0, 0, 0, kBig, 0), f, {}, {}},
        {"position past 32 bits", wide, at(0, 0, kBig / 8, 0, 1, 0), {kBig / 2, 0, 8, 16, 80, 25}, {}, {}},
        {"a view outside the canvas", canvasOfSize(20, 20, {10, 10, 40, 40}), at(0, 0, 0, 0, 1, 0), f, {}, {}},
    };
    for (const auto& c : cases) {
        GlassLayer glass;
        glass.canvases[1] = c.canvas;
        glass.placements = {c.p};
        glass.glassOrigin = c.origin;
        std::vector<GlassBlit> expected;
        if (c.blit) expected.push_back({1, c.blit->first, c.blit->second});
        EXPECT_EQ(glassBlits(glass, c.frame), expected) << c.what;
    }
    GlassLayer glass;  // list order kept, placements of missing canvases skipped
    glass.canvases[4] = canvasOfSize(10, 10);
    glass.canvases[2] = canvasOfSize(10, 20);
    glass.placements = {{4, 0, 0, 0, 0, 1, 0, true}, {9, 0, 0, 0, 0, 1, 0, true}, {2, 1, 0, 1, 0, 1, 0, true}};
    EXPECT_EQ(glassBlits(glass, f0),
              (std::vector<GlassBlit>{{4, {0, 0, 10, 10}, {0, 0, 8, 8}}, {2, {0, 0, 10, 20}, {8, 16, 16, 32}}}));
}

}  // namespace
}  // namespace orvane
