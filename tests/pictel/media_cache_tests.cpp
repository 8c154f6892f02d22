// The media-cache folder: file names, complete writes, switching off, clearing.
#include "media_fixture.h"

#include "pictel/crc32.h"
#include "pictel/media_cache.h"

namespace orvane {
namespace {

using testing::encodeBase64;
using testing::encodeTestImage;
using testing::makeTestCanvas;

using MediaCache = testing::MediaTest;

TEST_F(MediaCache, FileNamesAndKeysFollowTheFormat) {
    t.mediaCacheDir = L"C:\\cache";
    EXPECT_EQ(cacheFilePath(t, 0x0A1B2C3D, 123456, "png"), L"C:\\cache\\OV_0A1B2C3D_L0000123456.png");
    EXPECT_EQ(cacheFilePath(t, 0xFFFFFFFF, 120, "jpeg"), L"C:\\cache\\OV_FFFFFFFF_L0000000120.jpeg");
    EXPECT_EQ(cacheFilePath(t, 1, 12345678901234ull, "png"), L"C:\\cache\\OV_00000001_L12345678901234.png");
    EXPECT_EQ(mediaCacheKey(0x0A1B2C3D, 123456, "png"), L"0A1B2C3D_123456_png");
}

TEST_F(MediaCache, AnInterruptedWriteLeavesNoFileUnderTheFinalName) {
    const std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(3, 3, 1));
    const OfferRecord offer{crc32(image.data(), image.size()), image.size(), "png"};
    platform.interruptWrites = true;
    writeCacheFile(t, offer, image);
    EXPECT_TRUE(cacheFileNames().empty());
    platform.interruptWrites = false;
    writeCacheFile(t, offer, image);
    ASSERT_EQ(cacheFileNames().size(), 1u);
    EXPECT_EQ(cacheFileNames()[0].substr(0, 3), "OV_");
    EXPECT_EQ(cacheFileNames()[0].find(".part"), std::string::npos);
}

TEST_F(MediaCache, AWriteReplacesAnOlderFileOfTheSameName) {
    const std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(3, 3, 1));
    const OfferRecord offer{crc32(image.data(), image.size()), image.size(), "png"};
    const std::vector<uint8_t> stale(5, 'x');
    platform.writeFile(cacheFilePath(t, offer.crc, offer.length, "png"), stale.data(), stale.size());
    writeCacheFile(t, offer, image);
    std::vector<uint8_t> stored;
    ASSERT_TRUE(platform.readWholeFile(cacheFilePath(t, offer.crc, offer.length, "png"), 1 << 20, stored));
    EXPECT_EQ(stored, image);
}

TEST_F(MediaCache, AFailedWriteStillShowsTheImage) {
    const std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(3, 3, 1));
    std::filesystem::remove_all(folder.path() / "cache");  // the folder went away
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", unsigned(crc32(image.data(), image.size())));
    offerImage(t, 1, crc, std::to_string(image.size()), "png");
    sendTransfer(1, encodeBase64(image));
    EXPECT_EQ(replies(), testing::replyText(4, 1, 0));
    EXPECT_NE(findCanvas(t.glass, 1), nullptr);
}

TEST_F(MediaCache, SwitchingOffForgetsTheDecodedImages) {
    storeDecoded(t.decodedImages, L"k", makeTestCanvas(2, 2, 1));
    setMediaCacheEnabled(t, true);
    EXPECT_EQ(t.decodedImages.entryCount, 1u);
    setMediaCacheEnabled(t, false);
    EXPECT_FALSE(t.mediaCacheEnabled);
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    EXPECT_EQ(t.decodedImages.totalBytes, 0u);
}

TEST_F(MediaCache, ClearingDeletesOnlyCacheFiles) {
    folder.write("cache/OV_00000001_L0000000001.png", {1});
    folder.write("cache/OV_00000002_L0000000001.jpeg", {2});
    folder.write("cache/ov_lower_case_counts_too", {3});
    folder.write("cache/keep.png", {4});
    folder.write("cache/XOV_00000003_L0000000001.png", {5});
    folder.write("cache/OV_folder/inside.png", {6});
    folder.write("repo/OV_00000004_L0000000001.png", {7});
    storeDecoded(t.decodedImages, L"k", makeTestCanvas(2, 2, 1));
    EXPECT_EQ(clearMediaCache(t), 3);
    EXPECT_EQ(cacheFileNames(), (std::vector<std::string>{"OV_folder", "XOV_00000003_L0000000001.png", "keep.png"}));
    EXPECT_TRUE(folder.exists("cache/OV_folder/inside.png"));
    EXPECT_TRUE(folder.exists("repo/OV_00000004_L0000000001.png"));
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    EXPECT_EQ(clearMediaCache(t), 0);
}

TEST_F(MediaCache, ClearingWithoutAFolderDoesNothing) {
    folder.write("cache/OV_00000001_L0000000001.png", {1});
    storeDecoded(t.decodedImages, L"k", makeTestCanvas(2, 2, 1));
    t.mediaCacheDir.clear();
    EXPECT_EQ(clearMediaCache(t), 0);
    EXPECT_TRUE(folder.exists("cache/OV_00000001_L0000000001.png"));
    EXPECT_EQ(t.decodedImages.entryCount, 1u);
}

}  // namespace
}  // namespace orvane
