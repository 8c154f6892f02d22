#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/layer_background.h"
#include "render/layer_bitmap_budget.h"
#include "terminal/terminal.h"

namespace orvane {
namespace {

// One setter call and what it must leave behind.
struct SetterStep {
    const char* fitText;  // nullptr: an opacity step
    int64_t opacity;
    int32_t fit;
    int32_t storedOpacity;
    bool layersChange;
    bool revisionMoves;
};

TEST(BackgroundState, SettersChangeTheLayersOnlyWhenTheValueMoves) {
    const SetterStep steps[] = {
        {"aspect", 0, kFitAspect, 100, false, false},     // the default already
        {"stretch", 0, kFitStretch, 100, true, true},
        {"stretch", 0, kFitStretch, 100, false, false},
        {"center", 0, kFitCenter, 100, true, true},
        {"Center", 0, kFitAspect, 100, true, true},        // words are exact
        {"", 0, kFitAspect, 100, false, false},
        {nullptr, 100, kFitAspect, 100, false, false},
        {nullptr, 250, kFitAspect, 100, false, false},      // clamped to what it is
        {nullptr, 50, kFitAspect, 50, true, false},
        {nullptr, -7, kFitAspect, 0, true, false},
        {nullptr, 0, kFitAspect, 0, false, false},
        {nullptr, 4294967297, kFitAspect, 100, true, false},  // no wrap to 1
    };
    Terminal t;
    BackgroundState bg;
    for (const SetterStep& s : steps) {
        SCOPED_TRACE(s.fitText ? s.fitText : std::to_string(s.opacity).c_str());
        const uint64_t generation = t.layerGeneration;
        const uint64_t revision = bg.revision;
        t.dirty = 0;
        if (s.fitText) {
            setBackgroundFit(t, bg, s.fitText);
        } else {
            setBackgroundOpacity(t, bg, s.opacity);
        }
        EXPECT_EQ(bg.fit, s.fit);
        EXPECT_EQ(bg.opacity, s.storedOpacity);
        EXPECT_EQ(t.layerGeneration, generation + (s.layersChange ? 1 : 0));
        EXPECT_EQ(t.dirty, s.layersChange ? 1 : 0);
        EXPECT_EQ(bg.revision, revision + (s.revisionMoves ? 1 : 0));
    }
}

TEST(BackgroundState, ClearingThePictureRenewsTheScaledCopy) {
    Terminal t;
    BackgroundState bg;
    bg.image.valid = true;
    bg.image.width = bg.image.height = 1;
    bg.image.pixels = {0};
    ASSERT_TRUE(backgroundLoaded(bg));
    const uint64_t generation = t.layerGeneration;
    EXPECT_TRUE(loadBackground(t, bg, L""));
    EXPECT_FALSE(backgroundLoaded(bg));
    EXPECT_EQ(bg.revision, 1u);
    EXPECT_EQ(t.layerGeneration, generation + 1);
}

TEST(BackgroundState, ScaledCopyIsKeptPerPictureAndSize) {
    struct Case {
        ScaledCopyRecord held;
        ScaledCopyPlan plan;
    };
    // Drawn now at 640 x 160 for revision 3.
    const Case cases[] = {
        {{false, 3, 640, 160}, {false, true, false}},
        {{true, 3, 640, 160}, {false, false, false}},
        {{true, 3, 640, 161}, {true, true, true}},
        {{true, 3, 639, 160}, {true, true, true}},
        {{true, 2, 640, 160}, {true, true, false}},
        {{true, 2, 100, 100}, {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.held.present << " r" << c.held.revision << " " << c.held.width << "x"
                                        << c.held.height);
        EXPECT_EQ(planScaledCopy(c.held, 3, 640, 160), c.plan);
    }
}

// A bitmap owner that counts the bitmaps alive.
struct FakeBitmap {
    explicit FakeBitmap(int* liveCount) : live(liveCount) { ++*live; }
    FakeBitmap(FakeBitmap&& o) noexcept : live(o.live) { o.live = nullptr; }
    FakeBitmap& operator=(FakeBitmap&&) = delete;
    ~FakeBitmap() {
        if (live) --*live;
    }
    int* live;
};

// A cache operation, then the canvases it must hold and how many bytes.
struct BudgetStep {
    enum Op { kStore, kFind, kMakeRoom, kDrop, kDropAll } op;
    int32_t id;
    int32_t width;
    int32_t height;
    bool keyed;
    bool ok;  // find: a hit; makeRoom: room made
    std::vector<int32_t> held;
    uint64_t bytes;
};

TEST(ScaledCanvasBudget, EvictsTheLeastRecentlyDrawnToStayWithinBudget) {
    using S = BudgetStep;
    // 1000 bytes: two 10 x 10 bitmaps (400 bytes each) fit, a third does not.
    const BudgetStep steps[] = {
        {S::kMakeRoom, 1, 10, 10, false, true, {}, 0},
        {S::kStore, 1, 10, 10, false, true, {1}, 400},
        {S::kStore, 2, 10, 10, true, true, {1, 2}, 800},
        {S::kFind, 1, 10, 10, false, true, {1, 2}, 800},
        {S::kFind, 2, 10, 10, false, false, {1, 2}, 800},   // made with the key colour
        {S::kFind, 2, 10, 11, true, false, {1, 2}, 800},    // another size
        {S::kFind, 3, 10, 10, false, false, {1, 2}, 800},
        {S::kMakeRoom, 3, 10, 10, false, true, {1}, 400},   // 2 was drawn longest ago
        {S::kStore, 3, 10, 10, false, true, {1, 3}, 800},
        {S::kMakeRoom, 4, 20, 20, false, false, {1, 3}, 800},  // never fits: nothing evicted
        {S::kFind, 1, 10, 10, false, true, {1, 3}, 800},
        {S::kMakeRoom, 1, 12, 12, false, true, {3}, 400},      // its own old bitmap goes, not the older 3
        {S::kStore, 1, 12, 12, false, true, {1, 3}, 976},
        {S::kFind, 3, 10, 10, false, true, {1, 3}, 976},
        {S::kMakeRoom, 5, 10, 10, false, true, {3}, 400},      // 1 is now the oldest
        {S::kStore, 5, 10, 10, false, true, {3, 5}, 800},
        {S::kDrop, 3, 0, 0, false, true, {5}, 400},
        {S::kDrop, 9, 0, 0, false, true, {5}, 400},
        {S::kMakeRoom, 6, 25, 10, false, true, {}, 0},         // exactly the budget fits alone
        {S::kStore, 6, 25, 10, false, true, {6}, 1000},
        {S::kDropAll, 0, 0, 0, false, true, {}, 0},
    };
    int live = 0;
    ScaledCanvasCache<FakeBitmap> cache(1000);
    GlassLayer glass;
    glass.bitmapCache = &cache;
    int index = 0;
    for (const BudgetStep& s : steps) {
        SCOPED_TRACE(index++);
        switch (s.op) {
            case S::kStore: cache.store(s.id, s.width, s.height, s.keyed, FakeBitmap(&live)); break;
            case S::kFind: EXPECT_EQ(cache.find(s.id, s.width, s.height, s.keyed) != nullptr, s.ok); break;
            case S::kMakeRoom: EXPECT_EQ(cache.makeRoom(s.id, s.width, s.height), s.ok); break;
            case S::kDrop: dropCanvasBitmap(glass, s.id); break;  // as the glass layer tells it
            case S::kDropAll: dropAllCanvasBitmaps(glass); break;
        }
        for (int32_t id = 0; id < 10; ++id) {
            const bool expected = std::find(s.held.begin(), s.held.end(), id) != s.held.end();
            EXPECT_EQ(cache.holds(id), expected) << "canvas " << id;
        }
        EXPECT_EQ(cache.bytesHeld(), s.bytes);
        EXPECT_EQ(live, int(s.held.size()));
    }
}

TEST(ScaledCanvasBudget, DefaultBudgetHoldsAFewPlacementsAtTheCap) {
    ScaledCanvasCache<int> cache;
    for (int32_t id = 0; id < 4; ++id) {
        ASSERT_TRUE(cache.makeRoom(id, 4096, 4096));
        cache.store(id, 4096, 4096, false, 0);
    }
    EXPECT_EQ(cache.bytesHeld(), kScaledCanvasBudgetBytes);
    ASSERT_TRUE(cache.makeRoom(4, 1, 1));
    EXPECT_FALSE(cache.holds(0));
    EXPECT_TRUE(cache.holds(1));
}

}  // namespace
}  // namespace orvane
