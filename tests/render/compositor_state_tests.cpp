#include <gtest/gtest.h>

#include <string>

#include "render/layer_background.h"
#include "render/layer_bitmap_budget.h"
#include "terminal/terminal.h"

namespace orvane {
namespace {

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
