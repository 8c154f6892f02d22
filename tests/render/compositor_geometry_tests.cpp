#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "render/compositor_geometry.h"

namespace orvane {
namespace {

constexpr int32_t kBig = std::numeric_limits<int32_t>::max();

struct FitCase {
    int32_t fit;
    int32_t imageWidth;
    int32_t imageHeight;
    PixelRect grid;
    std::optional<PixelRect> drawn;
};

TEST(BackgroundGeometry, FitsTheImageIntoTheGrid) {
    const FitCase cases[] = {
        // aspect: scaled by the smaller ratio, centred
        {kFitAspect, 400, 100, {0, 0, 640, 400}, PixelRect{0, 120, 640, 280}},
        {kFitAspect, 400, 100, {10, 20, 650, 420}, PixelRect{10, 140, 650, 300}},
        {kFitAspect, 100, 400, {0, 0, 640, 400}, PixelRect{270, 0, 370, 400}},
        {kFitAspect, 4, 1, {0, 0, 10, 100}, PixelRect{0, 48, 10, 51}},   // 2.5 rounds up to 3
        {kFitAspect, 1000, 1, {0, 0, 10, 10}, PixelRect{0, 4, 10, 5}},   // never thinner than 1
        {7, 400, 100, {0, 0, 640, 400}, PixelRect{0, 120, 640, 280}},    // unknown fit is aspect
        // stretch: the whole grid
        {kFitStretch, 400, 100, {5, 6, 105, 56}, PixelRect{5, 6, 105, 56}},
        // center: own size, offsets truncated toward zero
        {kFitCenter, 100, 50, {0, 0, 640, 400}, PixelRect{270, 175, 370, 225}},
        {kFitCenter, 641, 401, {0, 0, 640, 400}, PixelRect{0, 0, 641, 401}},
        {kFitCenter, 643, 403, {0, 0, 640, 400}, PixelRect{-1, -1, 642, 402}},
        // nothing to draw
        {kFitStretch, 400, 100, {0, 0, 0, 400}, std::nullopt},
        {kFitAspect, 400, 100, {0, 0, 640, -1}, std::nullopt},
        {kFitCenter, 0, 100, {0, 0, 640, 400}, std::nullopt},
        {kFitStretch, 1, 1, {0, 0, 10000, 10000}, std::nullopt},                 // over the pixel cap
        {kFitCenter, 100, 100, {kBig - 60, 0, kBig, 60}, std::nullopt},          // right edge past 32 bits
        {kFitAspect, 10, 10, {-kBig, -kBig, kBig, kBig}, std::nullopt},          // grid wider than 32 bits
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "fit " << c.fit << " image " << c.imageWidth << "x" << c.imageHeight
                                        << " grid " << c.grid.left << "," << c.grid.top << "," << c.grid.right
                                        << "," << c.grid.bottom);
        EXPECT_EQ(backgroundDrawRect(c.fit, c.imageWidth, c.imageHeight, c.grid), c.drawn);
    }
}

TEST(BackgroundGeometry, OpacityBecomesConstantAlpha) {
    const std::pair<int32_t, int32_t> cases[] = {{100, 255}, {50, 128}, {1, 3}, {0, 0}, {99, 252},
                                                 {2, 5}, {-5, 0}, {150, 255}};
    for (const auto& [opacity, alpha] : cases) EXPECT_EQ(backgroundAlpha(opacity), alpha) << opacity;
}

TEST(BackgroundGeometry, RoundsHalvesAwayFromZeroWithinRange) {
    const std::pair<double, std::optional<int32_t>> cases[] = {
        {0.5, 1}, {-0.5, -1}, {2.5, 3}, {-2.5, -3}, {2.49, 2}, {-2.49, -2},
        {2147483647.4, kBig}, {2147483647.5, std::nullopt}, {-2147483648.4, -kBig - 1},
        {-2147483648.5, std::nullopt}, {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt}};
    for (const auto& [v, expected] : cases) EXPECT_EQ(roundToInt32(v), expected) << v;
}

TEST(BackgroundGeometry, GridRectangleFromTheFrame) {
    EXPECT_EQ(gridRect({3, 4, 8, 16, 80, 25}), (PixelRect{3, 4, 643, 404}));
    EXPECT_EQ(gridRect({0, 0, 8, 16, 0, 25}), std::nullopt);
    EXPECT_EQ(gridRect({0, 0, kBig, 16, 80, 25}), std::nullopt);
}

// One placement of canvas 1 over a grid, with the canvas and frame a case sets.
struct PlacementCase {
    const char* what;
    Canvas canvas;
    Placement placement;
    GridFrame frame;
    GlassOrigin origin;
    std::optional<GlassBlit> blit;
};

Canvas canvasOfSize(int32_t w, int32_t h, PixelRect view = {}) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.valid = true;
    c.viewX = view.left;
    c.viewY = view.top;
    c.viewWidth = view.right - view.left;
    c.viewHeight = view.bottom - view.top;
    return c;
}

Placement at(int32_t row, int32_t rowH, int32_t col, int32_t colH, int32_t widthCells, int32_t widthH,
             bool visible = true) {
    return {1, row, rowH, col, colH, widthCells, widthH, visible};
}

const GridFrame kFrame{5, 7, 8, 16, 80, 25};
const GlassOrigin kOrigin{};  // 25 rows, 80 columns: no offset for an 80 x 25 grid

GlassBlit blit(PixelRect source, PixelRect dest) { return {1, source, dest}; }

TEST(GlassGeometry, PlacesCanvasesInCellsAndHundredths) {
    const Canvas wide = canvasOfSize(200, 100);
    const Canvas invalid = [] { Canvas c = canvasOfSize(10, 10); c.valid = false; return c; }();
    const PlacementCase cases[] = {
        {"10.5 cells of 8 px, height by aspect", wide, at(2, 0, 3, 0, 10, 50), kFrame, kOrigin,
         blit({0, 0, 200, 100}, {29, 39, 113, 81})},
        {"origin offsets for 132 x 24", wide, at(0, 0, 60, 0, 1, 0), {0, 0, 8, 16, 132, 24}, kOrigin,
         blit({0, 0, 200, 100}, {64, 16, 72, 20})},
        {"origin with hundredths", wide, at(0, 0, 0, 0, 1, 0), {0, 0, 10, 10, 80, 25}, {25, 50, 80, -30},
         blit({0, 0, 200, 100}, {-3, 5, 7, 10})},
        {"0.48 px rounds down", wide, at(0, 3, 0, 0, 1, 0), {0, 0, 8, 16, 80, 25}, kOrigin,
         blit({0, 0, 200, 100}, {0, 0, 8, 4})},
        {"half a pixel rounds away from zero", wide, at(0, 5, 0, -5, 1, 0), {0, 0, 10, 10, 80, 25}, kOrigin,
         blit({0, 0, 200, 100}, {-1, 1, 9, 6})},
        {"the view is the source", canvasOfSize(200, 100, {10, 10, 60, 90}), at(0, 0, 0, 0, 10, 0), kFrame, kOrigin,
         blit({10, 10, 60, 90}, {5, 7, 85, 135})},
        {"a view without height shows the whole canvas", canvasOfSize(200, 100, {10, 10, 60, 10}),
         at(0, 0, 0, 0, 25, 0), kFrame, kOrigin, blit({0, 0, 200, 100}, {5, 7, 205, 107})},
        {"exactly the pixel cap", canvasOfSize(7, 7), at(0, 0, 0, 0, 512, 0), {0, 0, 8, 16, 80, 25}, kOrigin,
         blit({0, 0, 7, 7}, {0, 0, 4096, 4096})},
        {"one row over the pixel cap", canvasOfSize(4096, 4097), at(0, 0, 0, 0, 512, 0), {0, 0, 8, 16, 80, 25},
         kOrigin, std::nullopt},
        {"hidden", wide, at(0, 0, 0, 0, 10, 0, false), kFrame, kOrigin, std::nullopt},
        {"invalid canvas", invalid, at(0, 0, 0, 0, 10, 0), kFrame, kOrigin, std::nullopt},
        {"canvas without width", canvasOfSize(0, 10), at(0, 0, 0, 0, 10, 0), kFrame, kOrigin, std::nullopt},
        {"canvas without height", canvasOfSize(10, 0), at(0, 0, 0, 0, 10, 0), kFrame, kOrigin, std::nullopt},
        {"zero width", wide, at(0, 0, 0, 0, 0, 0), kFrame, kOrigin, std::nullopt},
        {"width rounds to zero", wide, at(0, 0, 0, 0, 0, 6), kFrame, kOrigin, std::nullopt},
        {"negative width", wide, at(0, 0, 0, 0, -3, 0), kFrame, kOrigin, std::nullopt},
        {"height below one pixel", canvasOfSize(1000, 1), at(0, 0, 0, 0, 1, 0), kFrame, kOrigin, std::nullopt},
        {"width past 32 bits", wide, at(0, 0, 0, 0, kBig, 0), kFrame, kOrigin, std::nullopt},
        {"position past 32 bits", wide, at(0, 0, kBig / 8, 0, 1, 0), {kBig / 2, 0, 8, 16, 80, 25}, kOrigin,
         std::nullopt},
        {"a view outside the canvas", canvasOfSize(20, 20, {10, 10, 40, 40}), at(0, 0, 0, 0, 1, 0), kFrame,
         kOrigin, std::nullopt},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        GlassLayer glass;
        glass.canvases[1] = c.canvas;
        glass.placements = {c.placement};
        glass.glassOrigin = c.origin;
        const std::vector<GlassBlit> blits = glassBlits(glass, c.frame);
        ASSERT_EQ(blits.size(), c.blit ? 1u : 0u);
        if (c.blit) {
            EXPECT_EQ(blits[0], *c.blit);
        }
    }
}

TEST(GlassGeometry, KeepsListOrderAndSkipsMissingCanvases) {
    GlassLayer glass;
    glass.canvases[4] = canvasOfSize(10, 10);
    glass.canvases[2] = canvasOfSize(10, 20);
    glass.placements = {{4, 0, 0, 0, 0, 1, 0, true}, {9, 0, 0, 0, 0, 1, 0, true}, {2, 1, 0, 1, 0, 1, 0, true}};
    const std::vector<GlassBlit> blits = glassBlits(glass, {0, 0, 8, 16, 80, 25});
    const std::vector<GlassBlit> expected = {{4, {0, 0, 10, 10}, {0, 0, 8, 8}}, {2, {0, 0, 10, 20}, {8, 16, 16, 32}}};
    EXPECT_EQ(blits, expected);
}

}  // namespace
}  // namespace orvane
