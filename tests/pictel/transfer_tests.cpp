// Inline transfers, offers ("off"), showing from the cache ("use") and the
// media-cache folder.
#include "media_fixture.h"

#include "pictel/media_cache.h"
#include "pictel/offer.h"
#include "pictel/transfer.h"

namespace orvane::testing {
namespace {

class Transfer : public MediaTest {
protected:
    std::string image = encodeImage(makeCanvas(5, 3, 0xFF102030u));
    uint32_t crc = referenceCrc32(image);

    std::wstring cacheName(const wchar_t* extension) const {
        wchar_t name[64];
        std::swprintf(name, 64, L"OV_%08X_L%010zu.%ls", unsigned(crc), image.size(), extension);
        return name;
    }
    void cacheImage(const std::string& bytes) { platform.addFile(kCacheDir + L"\\" + cacheName(L"png"), bytes); }
};

TEST_F(Transfer, UnofferedTransferShowsTheImageSilently) {
    const std::string text = encodeBase64(image);
    appendChunk(t, 1, text.substr(0, 10), true, false, 0, 0);
    appendChunk(t, 1, text.substr(10), false, true, 0, 0);
    ASSERT_NE(findCanvas(t.glass, 1), nullptr);
    EXPECT_EQ(findCanvas(t.glass, 1)->pixels, makeCanvas(5, 3, 0xFF102030u).pixels);
    EXPECT_TRUE(findCanvas(t.glass, 1)->sourceCrc == 0 && replies().empty() && cacheFiles().empty() &&
                t.glass.pendingTransfers.empty() && t.decodedImages.entryCount == 0);
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{1, 1}));
}

TEST_F(Transfer, ANewTransferStartsOverAndBadDataChangesNothing) {
    appendChunk(t, 2, "Zm9v", false, false, 0, 0);  // the first chunk of an id needs no "f"
    appendChunk(t, 2, "YmFy", false, true, 1, 1);
    EXPECT_EQ(t.glass.pendingTransfers.at(2), "Zm9vYmFy");
    appendChunk(t, 2, "AAAA", true, true, 1, 2);
    EXPECT_EQ(t.glass.pendingTransfers.at(2), "AAAA");
    sendTransfer(3, image);
    const std::vector<uint32_t> before = findCanvas(t.glass, 3)->pixels;
    for (const std::string& text : {std::string("!!not base64!!"), encodeBase64("junk"), std::string()})
        sendText(3, text);
    EXPECT_EQ(findCanvas(t.glass, 3)->pixels, before);
    EXPECT_EQ(replies(), "");
}

TEST_F(Transfer, OfferedChunksAreAcknowledgedTheEndAnsweredAndTheFileCached) {
    EXPECT_EQ(offer(7, image, "jpg"), 0);
    sendTransfer(7, image, 16);
    std::string expected;
    for (size_t n = 1; n * 16 < encodeBase64(image).size(); ++n) expected += replyText(3, 7, int32_t(n));
    EXPECT_EQ(replies(), expected + replyText(4, 7, 0));
    EXPECT_EQ(std::pair(findCanvas(t.glass, 7)->sourceCrc, findCanvas(t.glass, 7)->sourceLength), std::pair(crc, image.size()));
    EXPECT_TRUE(t.glass.offers.empty());
    EXPECT_EQ(cacheFiles(), std::vector<std::wstring>{cacheName(L"jpeg")});
    EXPECT_EQ(platform.find(kCacheDir + L"\\" + cacheName(L"jpeg"))->bytes, image);
    EXPECT_NE(lookupDecoded(t.decodedImages, mediaCacheKey(crc, image.size(), "jpeg")), nullptr);
    EXPECT_EQ(offer(7, image, "jpeg"), 1);
}

TEST_F(Transfer, MismatchedOrUndecodableDataIsAnsweredAndKeepsTheCanvas) {
    sendTransfer(4, image);
    const std::vector<uint32_t> before = findCanvas(t.glass, 4)->pixels;
    const std::string other = encodeImage(makeCanvas(5, 3, 0xFFFFFFFFu));
    offer(4, image), sendTransfer(4, other);  // right length, wrong CRC
    offer(4, other, "png", 1), sendTransfer(4, other);
    offer(4, "junk"), sendTransfer(4, "junk");
    offerImage(t, 4, "1", "1", "png");
    sendText(4, "*bad*");
    EXPECT_EQ(replies(), replyText(4, 4, 1) + replyText(4, 4, 1) + replyText(4, 4, 2) + replyText(4, 4, 2));
    EXPECT_EQ(findCanvas(t.glass, 4)->pixels, before);
    EXPECT_TRUE(cacheFiles().empty() && t.glass.offers.empty());
}

TEST_F(Transfer, WithTheCacheOffTheOfferedTransferIsAnsweredButNotKept) {
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(offer(6, image), 0);
    sendTransfer(6, image, 64);
    EXPECT_EQ(replies(), replyText(3, 6, 1) + replyText(4, 6, 0));
    EXPECT_TRUE(cacheFiles().empty() && t.decodedImages.entryCount == 0);
}

TEST_F(Transfer, TextAndTransfersUnderWayAreBounded) {
    appendChunk(t, 1, std::string(kMaxTransferText - 4, 'A'), true, false, 0, 0);
    appendChunk(t, 1, "AAAAAAAA", false, false, 0, 0);  // would pass the limit: dropped
    appendChunk(t, 1, "AAAA", false, false, 0, 0);      // exactly at the limit: kept
    EXPECT_EQ(t.glass.pendingTransfers.at(1).size(), kMaxTransferText);
    for (int32_t id = 2; id <= int32_t(kMaxPendingText / kMaxTransferText); ++id)
        appendChunk(t, id, std::string(kMaxTransferText, 'A'), true, false, 0, 0);
    offerImage(t, 99, "1", "3", "png");
    appendChunk(t, 99, "QUFB", true, true, 1, 1);  // no room left: dropped, still acknowledged
    EXPECT_EQ(t.glass.pendingTransfers.at(99), "");
    EXPECT_EQ(replies(), replyText(3, 99, 1));
    appendChunk(t, 1, "", true, false, 0, 0);  // restarting one transfer frees its text
    appendChunk(t, 99, "QUFB", false, true, 1, 2);
    EXPECT_EQ(t.glass.pendingTransfers.at(99), "QUFB");
    for (int32_t id = 1000; t.glass.pendingTransfers.size() < kMaxPendingTransfers; ++id)
        appendChunk(t, id, "", true, false, 0, 0);
    appendChunk(t, 5000, "QUFB", true, false, 0, 0);
    EXPECT_EQ(t.glass.pendingTransfers.count(5000), 0u);
}

TEST_F(Transfer, AnImagePastThePixelCapOrOutOfMemoryFailsAsUndecodable) {
    fillPixelBudget();
    for (const int32_t id : {1, 100}) offer(id, image), sendTransfer(id, image);  // replacing filler 100 fits
    EXPECT_EQ(replies(), replyText(4, 1, 2) + replyText(4, 100, 0));
    EXPECT_EQ(findCanvas(t.glass, 1), nullptr);
    platform.throwOnDecode = true;
    offer(8, image), sendTransfer(8, image), sendTransfer(9, image);  // 9 is unoffered: silent
    EXPECT_EQ(replies(), replyText(4, 8, 2));
    EXPECT_TRUE(t.glass.offers.empty() && t.glass.pendingTransfers.empty());
    finishTransfer(t, 9);  // no transfer under way: nothing
    EXPECT_EQ(replies(), "");
}

TEST_F(Transfer, OfferFieldsAreCheckedStrictly) {
    const std::pair<std::pair<const char*, const char*>, bool> cases[] = {
        {{"0a1b2c3d", "120"}, true}, {{"0A1B2C3D", "1"}, true}, {{"1", "99999999999999999999"}, true},
        {{"0a1b2c3d4", "120"}, false}, {{"12G4", "120"}, false}, {{"", "120"}, false}, {{"-1", "120"}, false},
        {{"1", "0"}, false}, {{"1", "000"}, false}, {{"1", ""}, false}, {{"1", "+12"}, false},
        {{"1", "123456789012345678901"}, false},
    };
    for (const auto& [fields, valid] : cases) {
        t.glass.offers[3] = OfferRecord{1, 1, "png"};
        EXPECT_EQ(offerImage(t, 3, fields.first, fields.second, ""), 0) << fields.first << " " << fields.second;
        EXPECT_EQ(t.glass.offers.count(3), size_t(valid)) << fields.first << " " << fields.second;
    }
    for (const auto& [format, extension] : {std::pair{"jpg", "jpeg"}, {"jpeg", "jpeg"}, {"", "png"}, {"JPG", "png"}}) {
        offerImage(t, 1, "0a1b2c3d", "120", format);
        EXPECT_EQ(t.glass.offers.at(1).extension, extension) << format;
    }
    EXPECT_EQ(std::pair(t.glass.offers.at(1).crc, t.glass.offers.at(1).length), std::pair(0x0A1B2C3Du, uint64_t(120)));
}

TEST_F(Transfer, OfferAnswersWhetherTheCacheHoldsTheFile) {
    EXPECT_EQ(offer(1, image), 0);
    platform.addFolder(kCacheDir + L"\\" + cacheName(L"png"));  // a folder is not a cached image
    EXPECT_EQ(offer(1, image), 0);
    cacheImage(image);
    EXPECT_EQ(offer(1, image), 1);
    EXPECT_EQ(offer(1, image, "jpeg"), 0);
    EXPECT_EQ(offer(1, image, "png", 1), 0);
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(offer(1, image), 0);
    EXPECT_EQ(t.glass.offers.count(1), 1u);  // recorded all the same
    for (int32_t id = 10; t.glass.offers.size() < kMaxOffers; ++id) offerImage(t, id, "1", "1", "png");
    setMediaCacheEnabled(t, true);
    EXPECT_EQ(offer(99999, image), 0);
    EXPECT_EQ(t.glass.offers.count(99999), 0u);
    EXPECT_EQ(offer(1, image), 1);  // an id with an offer may re-offer
}

TEST_F(Transfer, UseShowsTheCachedFileAndRemembersItsPicture) {
    EXPECT_EQ(useOfferedImage(t, 2), 3);
    cacheImage(image);
    offer(2, image);
    setMediaCacheEnabled(t, false);
    EXPECT_TRUE(useOfferedImage(t, 2) == 3 && t.glass.offers.count(2) == 1);  // the offer stays
    setMediaCacheEnabled(t, true);
    EXPECT_EQ(useOfferedImage(t, 2), 0);
    EXPECT_EQ(findCanvas(t.glass, 2)->sourceCrc, crc);
    EXPECT_TRUE(t.glass.offers.empty());
    platform.files.clear();  // another id: from the decoded picture, without the file
    offer(3, image);
    EXPECT_EQ(useOfferedImage(t, 3), 0);
    EXPECT_TRUE(findCanvas(t.glass, 3)->pixels == findCanvas(t.glass, 2)->pixels && platform.decodeCount == 1);
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{2, 3}));
}

TEST_F(Transfer, UseOfTheImageAlreadyShownTouchesNothing) {
    cacheImage(image), offer(4, image);
    ASSERT_EQ(useOfferedImage(t, 4), 0);
    clearMediaCache(t);  // neither the file nor the decoded picture is left
    offer(4, image);
    platform.reads.clear();
    EXPECT_EQ(useOfferedImage(t, 4), 0);
    EXPECT_TRUE(platform.reads.empty());
    offer(4, image, "png", 1);  // same CRC, another length: another image
    EXPECT_EQ(useOfferedImage(t, 4), 3);
    t.glass.canvases[5] = makeCanvas(2, 2, 1);  // a zero CRC is never taken as shown
    t.glass.canvases[5].sourceLength = 7;
    offerImage(t, 5, "0", "7", "png");
    EXPECT_EQ(useOfferedImage(t, 5), 3);
}

TEST_F(Transfer, UseOfAFileOfTheWrongSizeOrContent) {
    for (const auto& [bytes, result] : {std::pair{std::string(image.size(), 'x'), 2}, {image.substr(1), 3},
                                        {std::string(), 3}}) {
        cacheImage(bytes), offer(6, image);
        EXPECT_EQ(useOfferedImage(t, 6), result) << bytes.size();
    }
    cacheImage(image), offer(6, image);
    platform.throwOnDecode = true;
    EXPECT_TRUE(useOfferedImage(t, 6) == 2 && findCanvas(t.glass, 6) == nullptr);
}

TEST_F(Transfer, CacheFileNamesAndKeys) {
    t.mediaCacheDir = L"C:\\cache";
    EXPECT_EQ(cacheFilePath(t, 0x0A1B2C3D, 123456, "png"), L"C:\\cache\\OV_0A1B2C3D_L0000123456.png");
    EXPECT_EQ(cacheFilePath(t, 1, 12345678901234ull, "jpeg"), L"C:\\cache\\OV_00000001_L12345678901234.jpeg");
    EXPECT_EQ(mediaCacheKey(0x0A1B2C3D, 123456, "png"), L"0A1B2C3D_123456_png");
}

TEST_F(Transfer, CacheWritesAreCompleteOrAbsent) {
    const OfferRecord record{crc, image.size(), "png"};
    const std::vector<uint8_t> bytes(image.begin(), image.end());
    for (const WriteMode mode : {WriteMode::StopsHalfway, WriteMode::Fails}) {
        platform.writeMode = mode;
        writeCacheFile(t, record, bytes);
        EXPECT_TRUE(cacheFiles().empty());
    }
    platform.writeMode = WriteMode::Works;
    platform.replaceFails = true;
    writeCacheFile(t, record, bytes);
    EXPECT_TRUE(cacheFiles().empty());
    platform.replaceFails = false;
    cacheImage("stale"), writeCacheFile(t, record, bytes);
    EXPECT_EQ(cacheFiles(), std::vector<std::wstring>{cacheName(L"png")});
    EXPECT_EQ(platform.find(kCacheDir + L"\\" + cacheName(L"png"))->bytes, image);
    platform.writeMode = WriteMode::Fails;  // a failed write still shows the image
    offer(1, image, "jpeg"), sendTransfer(1, image);
    EXPECT_EQ(replies(), replyText(4, 1, 0));
}

TEST_F(Transfer, SwitchingOffAndClearingForgetTheDecodedPictures) {
    storeDecoded(t.decodedImages, L"k", makeCanvas(2, 2, 1));
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    for (const wchar_t* name : {L"OV_1.png", L"ov_lower", L"keep.png", L"XOV_1.png", L"OV_dir\\in.png"})
        platform.addFile(kCacheDir + L"\\" + name, "x");
    platform.addFile(kRepoDir + L"\\OV_1.png", "x");
    storeDecoded(t.decodedImages, L"k", makeCanvas(2, 2, 1));
    const std::wstring folder = t.mediaCacheDir;
    t.mediaCacheDir.clear();
    EXPECT_TRUE(clearMediaCache(t) == 0 && t.decodedImages.entryCount == 1);
    t.mediaCacheDir = folder;
    EXPECT_EQ(clearMediaCache(t), 2);
    EXPECT_EQ(cacheFiles(), (std::vector<std::wstring>{L"keep.png", L"XOV_1.png"}));
    EXPECT_NE(platform.find(kCacheDir + L"\\OV_dir\\in.png"), nullptr);
    EXPECT_NE(platform.find(kRepoDir + L"\\OV_1.png"), nullptr);
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
}

}  // namespace
}  // namespace orvane::testing
