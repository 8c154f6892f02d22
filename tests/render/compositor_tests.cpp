#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "render/compositor_geometry.h"
#include "render/layer_background.h"
#include "render/layer_bitmap_budget.h"
#include "terminal/terminal.h"

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



TEST(BackgroundState, SettersChangeTheLayersOnlyWhenTheValueMoves) {
    // One setter call each (fit text, or nullptr and an opacity) and what it leaves behind.
    const struct { const char* fitText; int64_t opacity; int32_t fit, storedOpacity; bool layersChange, revisionMoves; }
        steps[] = {
            {"aspect", 0, kFitAspect, 100, false, false},  // the default already
            {"stretch", 0, kFitStretch, 100, true, true},  {"stretch", 0, kFitStretch, 100, false, false},
            {"center", 0, kFitCenter, 100, true, true},    {"Center", 0, kFitAspect, 100, true, true},  // exact words
            {"", 0, kFitAspect, 100, false, false},         {nullptr, 100, kFitAspect, 100, false, false},
            {nullptr, 250, kFitAspect, 100, false, false},  // clamped to what it is
            {nullptr, 50, kFitAspect, 50, true, false},     {nullptr, -7, kFitAspect, 0, true, false},
            {nullptr, 0, kFitAspect, 0, false, false},
            {nullptr, 4294967297, kFitAspect, 100, true, false},  // no wrap to 1
        };
    Terminal t;
    BackgroundState bg;
    for (const auto& s : steps) {
        const uint64_t generation = t.layerGeneration, revision = bg.revision;
        t.dirty = 0;
        if (s.fitText) setBackgroundFit(t, bg, s.fitText); else setBackgroundOpacity(t, bg, s.opacity);
        const std::string step = s.fitText ? s.fitText : std::to_string(s.opacity);
        EXPECT_EQ(std::pair(bg.fit, bg.opacity), std::pair(s.fit, s.storedOpacity)) << step;
        EXPECT_EQ(t.layerGeneration - generation, s.layersChange ? 1u : 0u) << step;
        EXPECT_EQ(t.dirty, s.layersChange ? 1 : 0) << step;
        EXPECT_EQ(bg.revision - revision, s.revisionMoves ? 1u : 0u) << step;
    }
    bg.image.valid = true;  // clearing the picture renews the scaled copy too
    bg.image.width = bg.image.height = 1;
    bg.image.pixels = {0};
    ASSERT_TRUE(backgroundLoaded(bg));
    const uint64_t generation = t.layerGeneration, revision = bg.revision;
    EXPECT_TRUE(loadBackground(t, bg, L""));
    EXPECT_FALSE(backgroundLoaded(bg));
    EXPECT_EQ(bg.revision, revision + 1);
    EXPECT_EQ(t.layerGeneration, generation + 1);
}

TEST(BackgroundState, ScaledCopyIsKeptPerPictureAndSize) {
    // Drawn now at 640 x 160 for revision 3.
    const std::pair<ScaledCopyRecord, ScaledCopyPlan> cases[] = {
        {{false, 3, 640, 160}, {false, true, false}}, {{true, 3, 640, 160}, {false, false, false}},
        {{true, 3, 640, 161}, {true, true, true}},    {{true, 3, 639, 160}, {true, true, true}},
        {{true, 2, 640, 160}, {true, true, false}},   {{true, 2, 100, 100}, {true, true, false}},
    };
    for (const auto& [held, plan] : cases)
        EXPECT_EQ(planScaledCopy(held, 3, 640, 160), plan) << held.present << " r" << held.revision << " " << held.height;
}

// A bitmap owner that counts the bitmaps alive.
struct FakeBitmap {
    explicit FakeBitmap(int* liveCount) : live(liveCount) { ++*live; }
    FakeBitmap(FakeBitmap&& o) noexcept : live(o.live) { o.live = nullptr; }
    FakeBitmap& operator=(FakeBitmap&&) = delete;
    ~FakeBitmap() { if (live) --*live; }
    int* live;
};

TEST(ScaledCanvasBudget, EvictsTheLeastRecentlyDrawnToStayWithinBudget) {
    // An operation on canvas id at width x height (keyed: with the key colour), whether it
    // found or made room, then the canvases held and their bytes. 1000 bytes: two 10 x 10
    // bitmaps (400 bytes each) fit, a third does not.
    enum Op { kStore, kFind, kMakeRoom, kDrop, kDropAll };
    const struct { Op op; int32_t id, width, height; bool keyed, ok; const char* held; uint64_t bytes; } steps[] = {
        {kMakeRoom, 1, 10, 10, false, true, "", 0},       {kStore, 1, 10, 10, false, true, "1", 400},
        {kStore, 2, 10, 10, true, true, "12", 800},       {kFind, 1, 10, 10, false, true, "12", 800},
        {kFind, 2, 10, 10, false, false, "12", 800},      // made with the key colour
        {kFind, 2, 10, 11, true, false, "12", 800},       // another size
        {kFind, 3, 10, 10, false, false, "12", 800},
        {kMakeRoom, 3, 10, 10, false, true, "1", 400},    // 2 was drawn longest ago
        {kStore, 3, 10, 10, false, true, "13", 800},
        {kMakeRoom, 4, 20, 20, false, false, "13", 800},  // never fits: nothing evicted
        {kFind, 1, 10, 10, false, true, "13", 800},
        {kMakeRoom, 1, 12, 12, false, true, "3", 400},    // its own old bitmap goes, not the older 3
        {kStore, 1, 12, 12, false, true, "13", 976},      {kFind, 3, 10, 10, false, true, "13", 976},
        {kMakeRoom, 5, 10, 10, false, true, "3", 400},    // 1 is now the oldest
        {kStore, 5, 10, 10, false, true, "35", 800},      {kDrop, 3, 0, 0, false, true, "5", 400},
        {kDrop, 9, 0, 0, false, true, "5", 400},
        {kMakeRoom, 6, 25, 10, false, true, "", 0},       // exactly the budget fits alone
        {kStore, 6, 25, 10, false, true, "6", 1000},      {kDropAll, 0, 0, 0, false, true, "", 0},
    };
    int live = 0;
    ScaledCanvasCache<FakeBitmap> cache(1000);
    GlassLayer glass;  // drops come as the glass layer tells them
    glass.bitmapCache = &cache;
    for (const auto& s : steps) {
        const size_t step = size_t(&s - steps);
        switch (s.op) {
            case kStore: cache.store(s.id, s.width, s.height, s.keyed, FakeBitmap(&live)); break;
            case kFind: EXPECT_EQ(cache.find(s.id, s.width, s.height, s.keyed) != nullptr, s.ok) << step; break;
            case kMakeRoom: EXPECT_EQ(cache.makeRoom(s.id, s.width, s.height), s.ok) << step; break;
            case kDrop: dropCanvasBitmap(glass, s.id); break;
            case kDropAll: dropAllCanvasBitmaps(glass); break;
        }
        std::string held;
        for (int32_t id = 0; id < 10; ++id)
            if (cache.holds(id)) held += std::to_string(id);
        EXPECT_EQ(held, s.held) << step;
        EXPECT_EQ(cache.bytesHeld(), s.bytes) << step;
        EXPECT_EQ(size_t(live), held.size()) << step;
    }
    ScaledCanvasCache<int> full;  // the default budget holds four placements at the pixel cap
    for (int32_t id = 0; id < 4; ++id) {
        ASSERT_TRUE(full.makeRoom(id, 4096, 4096));
        full.store(id, 4096, 4096, false, 0);
    }
    EXPECT_EQ(full.bytesHeld(), kScaledCanvasBudgetBytes);
    ASSERT_TRUE(full.makeRoom(4, 1, 1));
    EXPECT_FALSE(full.holds(0));
    EXPECT_TRUE(full.holds(1));
}

}  // namespace
}  // namespace orvane
