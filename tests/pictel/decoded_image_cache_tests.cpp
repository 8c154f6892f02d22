// The in-memory cache of decoded pictures: budget, eviction order, keys.
#include <gtest/gtest.h>

#include "media_test_platform.h"
#include "pictel/decoded_image_cache.h"

namespace orvane {
namespace {

using testing::makeTestCanvas;

// A canvas of that many pixel bytes whose pixel values are not held, so
// that budget-sized pictures cost the test no memory.
Canvas canvasOfBytes(uint64_t bytes) {
    Canvas canvas;
    canvas.width = int32_t(bytes / 4);
    canvas.height = 1;
    canvas.valid = true;
    return canvas;
}

TEST(DecodedImageCache, KeepsCopiesAndCountsTheirPixels) {
    DecodedImageCache cache;
    Canvas canvas = makeTestCanvas(3, 2, 0xFF000001u);
    storeDecoded(cache, L"a", canvas);
    canvas.pixels[0] = 0;  // the cache holds its own copy
    const Canvas* hit = lookupDecoded(cache, L"a");
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->pixels[0], 0xFF000001u);
    EXPECT_EQ(hit->width, 3);
    EXPECT_EQ(cache.entryCount, 1u);
    EXPECT_EQ(cache.totalBytes, 24u);
    EXPECT_EQ(lookupDecoded(cache, L"b"), nullptr);
}

TEST(DecodedImageCache, ReplacingAKeyReplacesItsSize) {
    DecodedImageCache cache;
    storeDecoded(cache, L"k", makeTestCanvas(10, 10, 1));
    storeDecoded(cache, L"k", makeTestCanvas(2, 2, 2));
    EXPECT_EQ(cache.entryCount, 1u);
    EXPECT_EQ(cache.totalBytes, 16u);
    EXPECT_EQ(lookupDecoded(cache, L"k")->pixels[0], 2u);
}

TEST(DecodedImageCache, EvictsTheLeastRecentlyUsedToStayWithinBudget) {
    DecodedImageCache cache;
    const uint64_t quarter = kDecodedCacheBudget / 4;
    storeDecoded(cache, L"a", canvasOfBytes(quarter));
    storeDecoded(cache, L"b", canvasOfBytes(quarter));
    storeDecoded(cache, L"c", canvasOfBytes(quarter));
    storeDecoded(cache, L"d", canvasOfBytes(quarter));
    EXPECT_EQ(cache.totalBytes, kDecodedCacheBudget);
    ASSERT_NE(lookupDecoded(cache, L"a"), nullptr);  // "a" is now the newest; "b" the oldest
    storeDecoded(cache, L"e", canvasOfBytes(quarter + 4));  // needs two quarters freed
    EXPECT_EQ(lookupDecoded(cache, L"b"), nullptr);
    EXPECT_EQ(lookupDecoded(cache, L"c"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"a"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"d"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"e"), nullptr);
    EXPECT_EQ(cache.entryCount, 3u);
    EXPECT_EQ(cache.totalBytes, 3 * quarter + 4);
    EXPECT_LE(cache.totalBytes, kDecodedCacheBudget);
}

TEST(DecodedImageCache, PicturesLargerThanTheBudgetOrEmptyAreNotCached) {
    DecodedImageCache cache;
    storeDecoded(cache, L"small", makeTestCanvas(1, 1, 1));
    storeDecoded(cache, L"huge", canvasOfBytes(kDecodedCacheBudget + 4));
    storeDecoded(cache, L"empty", Canvas{});
    EXPECT_EQ(lookupDecoded(cache, L"huge"), nullptr);
    EXPECT_EQ(lookupDecoded(cache, L"empty"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"small"), nullptr);  // nothing was evicted for them
    EXPECT_EQ(cache.totalBytes, 4u);
}

TEST(DecodedImageCache, TheNumberOfEntriesIsBounded) {
    DecodedImageCache cache;
    const Canvas tiny = makeTestCanvas(1, 1, 1);
    for (size_t i = 0; i < kDecodedCacheMaxEntries + 10; ++i) storeDecoded(cache, std::to_wstring(i), tiny);
    EXPECT_EQ(cache.entryCount, kDecodedCacheMaxEntries);
    EXPECT_EQ(cache.totalBytes, 4u * kDecodedCacheMaxEntries);
    EXPECT_EQ(lookupDecoded(cache, L"0"), nullptr);   // the oldest went first
    EXPECT_EQ(lookupDecoded(cache, L"9"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"10"), nullptr);
}

TEST(DecodedImageCache, ClearingForgetsEverything) {
    DecodedImageCache cache;
    storeDecoded(cache, L"a", makeTestCanvas(4, 4, 1));
    clearDecoded(cache);
    EXPECT_EQ(cache.entryCount, 0u);
    EXPECT_EQ(cache.totalBytes, 0u);
    EXPECT_EQ(lookupDecoded(cache, L"a"), nullptr);
    storeDecoded(cache, L"a", makeTestCanvas(1, 1, 1));
    EXPECT_EQ(cache.totalBytes, 4u);
}

}  // namespace
}  // namespace orvane
