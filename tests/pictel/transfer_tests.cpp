// Inline image transfers: chunk assembly, limits, finishing with and
// without an offer.
#include "media_fixture.h"

#include "pictel/crc32.h"
#include "pictel/media_cache.h"
#include "pictel/transfer.h"

namespace orvane {
namespace {

using testing::encodeBase64;
using testing::encodeTestImage;
using testing::makeTestCanvas;
using testing::replyText;

class Transfer : public testing::MediaTest {
protected:
    std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(5, 3, 0xFF102030u));

    std::string offerFor(const std::vector<uint8_t>& bytes) {
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", unsigned(crc32(bytes.data(), bytes.size())));
        return crc;
    }
};

TEST_F(Transfer, UnofferedTransferShowsTheImageSilently) {
    const std::string text = encodeBase64(image);
    appendChunk(t, 1, text.substr(0, 10), true, false, 0, 0);
    appendChunk(t, 1, text.substr(10), false, true, 0, 0);
    const Canvas* canvas = findCanvas(t.glass, 1);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width, 5);
    EXPECT_EQ(canvas->height, 3);
    EXPECT_EQ(canvas->pixels[0], 0xFF102030u);
    EXPECT_EQ(canvas->sourceCrc, 0u);
    EXPECT_EQ(replies(), "");
    EXPECT_TRUE(cacheFileNames().empty());
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    EXPECT_TRUE(t.glass.pendingTransfers.empty());
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{1, 1}));  // finishing and storing
}

TEST_F(Transfer, ChunksWithoutTheFinalOneOnlyCollect) {
    appendChunk(t, 2, "Zm9v", false, false, 0, 0);  // first chunk of an id needs no "f"
    appendChunk(t, 2, "YmFy", false, true, 1, 1);
    EXPECT_EQ(t.glass.pendingTransfers.at(2), "Zm9vYmFy");
    EXPECT_EQ(findCanvas(t.glass, 2), nullptr);
    appendChunk(t, 2, "AAAA", true, true, 1, 2);  // "f", "w" or "h" starts over
    EXPECT_EQ(t.glass.pendingTransfers.at(2), "AAAA");
    EXPECT_EQ(replies(), "");
}

TEST_F(Transfer, UnofferedBadDataChangesNothing) {
    appendChunk(t, 3, encodeBase64(image), true, true, 0, 0);
    const std::vector<uint32_t> before = findCanvas(t.glass, 3)->pixels;
    appendChunk(t, 3, "!!not base64!!", true, true, 0, 0);
    appendChunk(t, 3, encodeBase64({'j', 'u', 'n', 'k'}), true, true, 0, 0);
    appendChunk(t, 3, "", true, true, 0, 0);
    EXPECT_EQ(findCanvas(t.glass, 3)->pixels, before);
    EXPECT_EQ(replies(), "");
    EXPECT_TRUE(t.glass.pendingTransfers.empty());
}

TEST_F(Transfer, OfferedChunksAreAcknowledgedAndTheEndAnswered) {
    const std::string text = encodeBase64(image);
    EXPECT_EQ(offerImage(t, 7, offerFor(image), std::to_string(image.size()), "png"), 0);
    sendTransfer(7, text, 16);
    std::string expected;
    const int chunks = int((text.size() + 15) / 16);
    for (int n = 1; n < chunks; ++n) expected += replyText(3, 7, n);
    expected += replyText(4, 7, 0);
    EXPECT_EQ(replies(), expected);
    const Canvas* canvas = findCanvas(t.glass, 7);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->sourceCrc, crc32(image.data(), image.size()));
    EXPECT_EQ(canvas->sourceLength, image.size());
    EXPECT_TRUE(t.glass.offers.empty());
}

TEST_F(Transfer, OfferedTransferIsKeptInTheMediaCache) {
    const uint32_t crc = crc32(image.data(), image.size());
    offerImage(t, 2, offerFor(image), std::to_string(image.size()), "jpg");
    sendTransfer(2, encodeBase64(image));
    char name[64];
    std::snprintf(name, sizeof name, "OV_%08X_L%010zu.jpeg", unsigned(crc), image.size());
    EXPECT_EQ(cacheFileNames(), std::vector<std::string>{name});
    std::vector<uint8_t> stored;
    ASSERT_TRUE(platform.readWholeFile(cacheFilePath(t, crc, image.size(), "jpeg"), 1 << 20, stored));
    EXPECT_EQ(stored, image);
    EXPECT_EQ(t.decodedImages.entryCount, 1u);
    EXPECT_NE(lookupDecoded(t.decodedImages, mediaCacheKey(crc, image.size(), "jpeg")), nullptr);
    replies();
    EXPECT_EQ(offerImage(t, 2, offerFor(image), std::to_string(image.size()), "jpeg"), 1);
}

TEST_F(Transfer, MismatchedOfferIsAnsweredAndKeepsTheOldCanvas) {
    appendChunk(t, 4, encodeBase64(image), true, true, 0, 0);
    const std::vector<uint32_t> before = findCanvas(t.glass, 4)->pixels;
    const std::vector<uint8_t> other = encodeTestImage(makeTestCanvas(5, 3, 0xFFFFFFFFu));
    // Right length, wrong CRC; then wrong length.
    offerImage(t, 4, offerFor(image), std::to_string(image.size()), "png");
    sendTransfer(4, encodeBase64(other));
    offerImage(t, 4, offerFor(other), std::to_string(other.size() + 1), "png");
    sendTransfer(4, encodeBase64(other));
    EXPECT_EQ(replies(), replyText(4, 4, 1) + replyText(4, 4, 1));
    EXPECT_EQ(findCanvas(t.glass, 4)->pixels, before);
    EXPECT_TRUE(cacheFileNames().empty());
}

TEST_F(Transfer, OfferedUndecodableDataAnswersTwo) {
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    offerImage(t, 5, offerFor(junk), std::to_string(junk.size()), "png");
    sendTransfer(5, encodeBase64(junk));
    offerImage(t, 5, "1", "1", "png");
    sendTransfer(5, "*bad*");
    EXPECT_EQ(replies(), replyText(4, 5, 2) + replyText(4, 5, 2));
    EXPECT_EQ(findCanvas(t.glass, 5), nullptr);
    EXPECT_TRUE(t.glass.offers.empty());
    EXPECT_TRUE(cacheFileNames().empty());
}

TEST_F(Transfer, WithTheCacheOffTheOfferedTransferIsAnsweredButNotKept) {
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(offerImage(t, 6, offerFor(image), std::to_string(image.size()), "png"), 0);
    sendTransfer(6, encodeBase64(image), 64);  // two chunks
    EXPECT_EQ(replies(), replyText(3, 6, 1) + replyText(4, 6, 0));
    EXPECT_NE(findCanvas(t.glass, 6), nullptr);
    EXPECT_TRUE(cacheFileNames().empty());
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
}

TEST_F(Transfer, ChunksPastTheTransferLimitAreDropped) {
    const std::string big(kMaxTransferText - 4, 'A');
    appendChunk(t, 1, big, true, false, 0, 0);
    appendChunk(t, 1, "AAAAAAAA", false, false, 0, 0);  // would pass the limit: dropped
    EXPECT_EQ(t.glass.pendingTransfers.at(1).size(), big.size());
    appendChunk(t, 1, "AAAA", false, false, 0, 0);  // exactly at the limit: kept
    EXPECT_EQ(t.glass.pendingTransfers.at(1).size(), kMaxTransferText);
}

TEST_F(Transfer, AllTransfersTogetherStayWithinTheirCap) {
    const std::string big(kMaxTransferText, 'A');
    const size_t full = kMaxPendingText / kMaxTransferText;
    for (int32_t id = 0; id < int32_t(full); ++id) appendChunk(t, id, big, true, false, 0, 0);
    offerImage(t, 99, "1", "3", "png");
    appendChunk(t, 99, "QUFB", true, true, 1, 1);  // no room left: dropped, still acknowledged
    EXPECT_EQ(t.glass.pendingTransfers.at(99), "");
    EXPECT_EQ(replies(), replyText(3, 99, 1));
    appendChunk(t, 0, "", true, false, 0, 0);  // restarting one transfer frees its text
    appendChunk(t, 99, "QUFB", false, true, 1, 2);
    EXPECT_EQ(t.glass.pendingTransfers.at(99), "QUFB");
}

TEST_F(Transfer, TheNumberOfTransfersUnderWayIsBounded) {
    for (int32_t id = 0; id < int32_t(kMaxPendingTransfers); ++id) appendChunk(t, id, "QUFB", true, false, 0, 0);
    appendChunk(t, 5000, "QUFB", true, false, 0, 0);
    EXPECT_EQ(t.glass.pendingTransfers.size(), kMaxPendingTransfers);
    EXPECT_EQ(t.glass.pendingTransfers.count(5000), 0u);
    appendChunk(t, 3, "QUFB", false, false, 0, 0);  // ids under way go on
    EXPECT_EQ(t.glass.pendingTransfers.at(3), "QUFBQUFB");
}

TEST_F(Transfer, AnImagePastTheTotalPixelCapFailsAsUndecodable) {
    // Canvases that take up the whole cap (their pixel values are not needed).
    for (int32_t id = 100; id < 104; ++id) {
        Canvas filler;
        filler.width = 8192;
        filler.height = 8192;
        filler.valid = true;
        t.glass.canvases[id] = filler;
    }
    offerImage(t, 1, offerFor(image), std::to_string(image.size()), "png");
    sendTransfer(1, encodeBase64(image));
    EXPECT_EQ(replies(), replyText(4, 1, 2));
    EXPECT_EQ(findCanvas(t.glass, 1), nullptr);
    EXPECT_TRUE(cacheFileNames().empty());
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
    // Replacing one of them with the smaller picture fits.
    offerImage(t, 100, offerFor(image), std::to_string(image.size()), "png");
    sendTransfer(100, encodeBase64(image));
    EXPECT_EQ(replies(), replyText(4, 100, 0));
    EXPECT_EQ(findCanvas(t.glass, 100)->width, 5);
}

TEST_F(Transfer, RunningOutOfMemoryWhileDecodingFailsLikeBadData) {
    platform.throwOnDecode = true;
    offerImage(t, 8, offerFor(image), std::to_string(image.size()), "png");
    sendTransfer(8, encodeBase64(image));
    EXPECT_EQ(replies(), replyText(4, 8, 2));
    EXPECT_TRUE(t.glass.offers.empty());
    EXPECT_TRUE(t.glass.pendingTransfers.empty());
    appendChunk(t, 8, encodeBase64(image), true, true, 0, 0);  // unoffered: silent
    EXPECT_EQ(replies(), "");
    EXPECT_EQ(findCanvas(t.glass, 8), nullptr);
}

TEST_F(Transfer, FinishingAnIdWithoutATransferDoesNothing) {
    offerImage(t, 9, "1", "1", "png");
    finishTransfer(t, 9);
    EXPECT_EQ(replies(), "");
    EXPECT_EQ(t.glass.offers.count(9), 1u);
    EXPECT_TRUE(bitmaps.dropped.empty());
}

}  // namespace
}  // namespace orvane
