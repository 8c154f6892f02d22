// The media cache on disk with the real platform: names, offers, clearing,
// and where the folders are made.
#include <wincodec.h>

#include "pictel/crc32.h"
#include "pictel/media_cache.h"
#include "pictel/win32/media_folders.h"
#include "test_images.h"
#include "win32_media_fixture.h"

namespace orvane {
namespace {

using testing::encodeBase64;
using testing::replyText;

class MediaCacheOnDisk : public testing::Win32MediaTest {
protected:
    std::vector<uint8_t> png =
        testing::encodeWithWic(GUID_ContainerFormatPng, testing::canvasOf(2, 2, {0xFF010203u, 0x80FFFFFFu, 0, 1}));
    uint32_t crc = crc32(png.data(), png.size());

    std::string crcText() const {
        char text[9];
        std::snprintf(text, sizeof text, "%08x", unsigned(crc));
        return text;
    }

    void transfer(int32_t id) {
        const std::string text = encodeBase64(std::string(png.begin(), png.end()));
        const size_t half = text.size() / 2;
        appendChunk(t, id, text.substr(0, half), true, true, 1, 1);
        appendChunk(t, id, text.substr(half), false, true, 0, 2);
    }
};

TEST_F(MediaCacheOnDisk, TransferWritesTheFileAndALaterOfferFindsIt) {
    EXPECT_EQ(offerImage(t, 2, crcText(), std::to_string(png.size()), "png"), 0);
    transfer(2);
    EXPECT_EQ(testing::takeReplyText(t), replyText(3, 2, 1) + replyText(4, 2, 0));
    wchar_t name[64];
    swprintf(name, 64, L"OV_%08X_L%010llu.png", unsigned(crc), static_cast<unsigned long long>(png.size()));
    EXPECT_EQ(testing::namesIn(t.mediaCacheDir), std::vector<std::wstring>{name});
    EXPECT_EQ(testing::readBytes(t.mediaCacheDir + L"\\" + name), png);
    EXPECT_EQ(offerImage(t, 2, crcText(), std::to_string(png.size()), "png"), 1);
    EXPECT_EQ(offerImage(t, 3, crcText(), std::to_string(png.size()), "jpg"), 0);
}

TEST_F(MediaCacheOnDisk, UseReadsTheFileOfAnEarlierRun) {
    offerImage(t, 1, crcText(), std::to_string(png.size()), "png");
    transfer(1);
    setMediaCacheEnabled(t, false);  // forgets the decoded copy, as a new run would start
    setMediaCacheEnabled(t, true);
    platform.touched.clear();
    EXPECT_EQ(offerImage(t, 5, crcText(), std::to_string(png.size()), "png"), 1);
    EXPECT_EQ(useOfferedImage(t, 5), 0);
    EXPECT_EQ(platform.touched.back(), cacheFilePath(t, crc, png.size(), "png"));
    const Canvas* canvas = findCanvas(t.glass, 5);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->pixels, (std::vector<uint32_t>{0xFF010203u, 0x80FFFFFFu, 0, 1}));
    EXPECT_EQ(canvas->sourceCrc, crc);
}

TEST_F(MediaCacheOnDisk, ClearingDeletesOnlyCacheFiles) {
    offerImage(t, 1, crcText(), std::to_string(png.size()), "png");
    transfer(1);
    const std::vector<uint8_t> one = {1};
    testing::writeBytes(t.mediaCacheDir + L"\\OV_00000001_L0000000001.jpeg", one);
    testing::writeBytes(t.mediaCacheDir + L"\\keep.png", one);
    testing::writeBytes(t.mediaCacheDir + L"\\XOV_00000002_L0000000001.png", one);
    testing::writeBytes(t.mediaCacheDir + L"\\O V_report with a long name.txt", one);
    CreateDirectoryW((t.mediaCacheDir + L"\\OV_folder").c_str(), nullptr);
    testing::writeBytes(t.mediaRepoDir + L"\\OV_00000003_L0000000001.png", one);
    EXPECT_EQ(clearMediaCache(t), 2);
    EXPECT_EQ(testing::namesIn(t.mediaCacheDir),
              (std::vector<std::wstring>{L"O V_report with a long name.txt", L"OV_folder",
                                         L"XOV_00000002_L0000000001.png", L"keep.png"}));
    EXPECT_TRUE(testing::fileExists(t.mediaRepoDir + L"\\OV_00000003_L0000000001.png"));
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    EXPECT_EQ(offerImage(t, 1, crcText(), std::to_string(png.size()), "png"), 0);
}

TEST(MediaFolders, BesideTheProgramWhenThatFolderIsWritable) {
    testing::TempDir root;
    const MediaFolders folders = locateMediaFoldersFor(root / L"orvane.exe", root.path() + L"\\appdata");
    EXPECT_EQ(folders.cacheDir, root / L"media-cache");
    EXPECT_EQ(folders.repoDir, root / L"media-repo");
    EXPECT_TRUE(testing::folderExists(folders.cacheDir));
    EXPECT_TRUE(testing::folderExists(folders.repoDir));
    EXPECT_EQ(testing::namesIn(folders.cacheDir), std::vector<std::wstring>{});  // the probe is gone
    EXPECT_FALSE(testing::folderExists(root / L"appdata"));
    // Already there: still chosen.
    EXPECT_EQ(locateMediaFoldersFor(root.path() + L"/orvane.exe", std::nullopt).cacheDir, folders.cacheDir);
}

TEST(MediaFolders, UnderLocalAppDataWhenTheProgramFolderCannotHoldThem) {
    testing::TempDir root;
    testing::writeBytes(root / L"file", {1});  // a file cannot hold folders
    CreateDirectoryW((root / L"appdata").c_str(), nullptr);
    const MediaFolders folders = locateMediaFoldersFor(root / L"file\\orvane.exe", root / L"appdata");
    EXPECT_EQ(folders.cacheDir, root / L"appdata\\Orvane\\media-cache");
    EXPECT_EQ(folders.repoDir, root / L"appdata\\Orvane\\media-repo");
    EXPECT_TRUE(testing::folderExists(folders.cacheDir));
    EXPECT_TRUE(testing::folderExists(folders.repoDir));
}

TEST(MediaFolders, ThePortablePathsWhenLocalAppDataIsMissingOrTooLong) {
    testing::TempDir root;
    testing::writeBytes(root / L"file", {1});
    const std::wstring program = root / L"file\\orvane.exe";
    EXPECT_EQ(locateMediaFoldersFor(program, std::nullopt).cacheDir, root / L"file\\media-cache");
    EXPECT_EQ(locateMediaFoldersFor(program, L"").repoDir, root / L"file\\media-repo");
    const std::wstring tooLong = root.path() + L"\\" + std::wstring(259 - root.path().size(), L'x');
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_EQ(locateMediaFoldersFor(program, tooLong).cacheDir, root / L"file\\media-cache");
    EXPECT_FALSE(testing::folderExists(tooLong));
}

}  // namespace
}  // namespace orvane
