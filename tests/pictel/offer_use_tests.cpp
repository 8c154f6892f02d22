// Offers ("off") and showing an offered image from the cache ("use").
#include "media_fixture.h"

#include "pictel/crc32.h"
#include "pictel/media_cache.h"
#include "pictel/offer.h"

namespace orvane {
namespace {

using testing::encodeBase64;
using testing::encodeTestImage;
using testing::makeTestCanvas;
using testing::replyText;

class OfferUse : public testing::MediaTest {
protected:
    std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(4, 4, 0x80112233u));
    uint32_t crc = crc32(image.data(), image.size());
    std::string crcText = hex(crc);
    std::string lengthText = std::to_string(image.size());

    static std::string hex(uint32_t value) {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", unsigned(value));
        return text;
    }

    // Puts the image into the cache folder as a completed transfer would.
    void cacheImage(const std::string& extension = "png") {
        std::vector<uint8_t> bytes = image;
        platform.writeFile(cacheFilePath(t, crc, image.size(), extension), bytes.data(), bytes.size());
    }
};

TEST_F(OfferUse, OfferFieldsAreCheckedStrictly) {
    const std::pair<std::pair<const char*, const char*>, bool> cases[] = {
        {{"0a1b2c3d", "120"}, true},  {{"0A1B2C3D", "120"}, true}, {{"f", "1"}, true},
        {{"1", "99999999999999999999"}, true},  // 20 digits, accumulated (wrapping) in 64 bits
        {{"0a1b2c3d4", "120"}, false},          // nine digits
        {{"12G4", "120"}, false},               {{"", "120"}, false},
        {{"-1", "120"}, false},                 {{"1", "0"}, false},
        {{"1", "000"}, false},                  {{"1", ""}, false},
        {{"1", "12a"}, false},                  {{"1", "+12"}, false},
        {{"1", "123456789012345678901"}, false},  // 21 digits
    };
    for (const auto& [fields, valid] : cases) {
        t.glass.offers[3] = OfferRecord{1, 1, "png"};
        EXPECT_EQ(offerImage(t, 3, fields.first, fields.second, ""), 0) << fields.first << " " << fields.second;
        EXPECT_EQ(t.glass.offers.count(3), valid ? 1u : 0u) << fields.first << " " << fields.second;
    }
}

TEST_F(OfferUse, OfferRecordsCrcLengthAndExtension) {
    offerImage(t, 1, "0a1b2c3d", "120", "jpg");
    offerImage(t, 2, "ff", "5", "jpeg");
    offerImage(t, 3, "ff", "5", "");
    offerImage(t, 4, "ff", "5", "JPG");  // names are case-sensitive
    EXPECT_EQ(t.glass.offers.at(1).crc, 0x0A1B2C3Du);
    EXPECT_EQ(t.glass.offers.at(1).length, 120u);
    EXPECT_EQ(t.glass.offers.at(1).extension, "jpeg");
    EXPECT_EQ(t.glass.offers.at(2).extension, "jpeg");
    EXPECT_EQ(t.glass.offers.at(3).extension, "png");
    EXPECT_EQ(t.glass.offers.at(4).extension, "png");
}

TEST_F(OfferUse, OfferAnswersWhetherTheCacheFolderHoldsTheFile) {
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "png"), 0);
    cacheImage();
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "png"), 1);
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "jpeg"), 0);  // another extension is another file
    EXPECT_EQ(offerImage(t, 1, crcText, std::to_string(image.size() + 1), "png"), 0);
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "png"), 0);
    EXPECT_EQ(t.glass.offers.count(1), 1u);  // recorded all the same
    setMediaCacheEnabled(t, true);
    t.mediaCacheDir.clear();
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "png"), 0);
}

TEST_F(OfferUse, AFolderUnderTheCacheNameIsNotACachedImage) {
    std::filesystem::create_directories(testing::toLocalPath(cacheFilePath(t, crc, image.size(), "png")));
    EXPECT_EQ(offerImage(t, 1, crcText, lengthText, "png"), 0);
}

TEST_F(OfferUse, TheNumberOfOffersIsBounded) {
    for (int32_t id = 0; id < int32_t(kMaxOffers); ++id) offerImage(t, id, "1", "1", "png");
    cacheImage();
    EXPECT_EQ(offerImage(t, 99999, crcText, lengthText, "png"), 0);
    EXPECT_EQ(t.glass.offers.count(99999), 0u);
    EXPECT_EQ(offerImage(t, 5, crcText, lengthText, "png"), 1);  // an id with an offer may re-offer
    EXPECT_EQ(t.glass.offers.at(5).crc, crc);
}

TEST_F(OfferUse, UseWithoutOfferOrCacheAnswersThree) {
    EXPECT_EQ(useOfferedImage(t, 1), 3);
    cacheImage();
    offerImage(t, 1, crcText, lengthText, "png");
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(useOfferedImage(t, 1), 3);
    EXPECT_EQ(t.glass.offers.count(1), 1u);  // the offer stays
    setMediaCacheEnabled(t, true);
    const std::wstring cacheFolder = t.mediaCacheDir;
    t.mediaCacheDir.clear();
    EXPECT_EQ(useOfferedImage(t, 1), 3);
    EXPECT_EQ(t.glass.offers.count(1), 1u);
    t.mediaCacheDir = cacheFolder;
    EXPECT_EQ(useOfferedImage(t, 1), 0);
    EXPECT_TRUE(t.glass.offers.empty());
}

TEST_F(OfferUse, UseReadsDecodesAndRemembersTheCachedFile) {
    cacheImage();
    offerImage(t, 2, crcText, lengthText, "png");
    EXPECT_EQ(useOfferedImage(t, 2), 0);
    const Canvas* canvas = findCanvas(t.glass, 2);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->pixels[0], 0x80112233u);
    EXPECT_EQ(canvas->sourceCrc, crc);
    EXPECT_EQ(canvas->sourceLength, image.size());
    EXPECT_EQ(platform.decodeCount, 1);
    // Another id: from the decoded-image cache, without the file.
    std::filesystem::remove(testing::toLocalPath(cacheFilePath(t, crc, image.size(), "png")));
    offerImage(t, 3, crcText, lengthText, "png");
    EXPECT_EQ(useOfferedImage(t, 3), 0);
    EXPECT_EQ(findCanvas(t.glass, 3)->pixels, findCanvas(t.glass, 2)->pixels);
    EXPECT_EQ(platform.decodeCount, 1);
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{2, 3}));
}

TEST_F(OfferUse, UseOfTheImageAlreadyShownTouchesNothing) {
    cacheImage();
    offerImage(t, 4, crcText, lengthText, "png");
    ASSERT_EQ(useOfferedImage(t, 4), 0);
    clearMediaCache(t);  // neither the file nor the decoded copy is left
    platform.reads.clear();
    offerImage(t, 4, crcText, lengthText, "png");
    platform.reads.clear();
    EXPECT_EQ(useOfferedImage(t, 4), 0);
    EXPECT_TRUE(platform.reads.empty());
    EXPECT_EQ(platform.decodeCount, 1);
}

TEST_F(OfferUse, AZeroCrcIsNeverTakenAsAlreadyShown) {
    Canvas plain = makeTestCanvas(2, 2, 1);
    plain.sourceCrc = 0;
    plain.sourceLength = 7;
    t.glass.canvases[5] = plain;
    offerImage(t, 5, "0", "7", "png");
    EXPECT_EQ(useOfferedImage(t, 5), 3);  // it looked for the file, which is not there
}

TEST_F(OfferUse, UseOfAFileOfTheWrongSizeOrContent) {
    const std::vector<uint8_t> junk(image.size(), 'x');
    platform.writeFile(cacheFilePath(t, crc, image.size(), "png"), junk.data(), junk.size());
    offerImage(t, 6, crcText, lengthText, "png");
    EXPECT_EQ(useOfferedImage(t, 6), 2);  // right size, not an image
    platform.writeFile(cacheFilePath(t, crc, image.size(), "png"), junk.data(), junk.size() - 1);
    offerImage(t, 6, crcText, lengthText, "png");
    EXPECT_EQ(useOfferedImage(t, 6), 3);  // shorter than offered
    platform.writeFile(cacheFilePath(t, crc, image.size(), "png"), junk.data(), 0);
    offerImage(t, 6, crcText, lengthText, "png");
    EXPECT_EQ(useOfferedImage(t, 6), 3);  // empty
    EXPECT_EQ(findCanvas(t.glass, 6), nullptr);
}

TEST_F(OfferUse, RunningOutOfMemoryFailsTheCommandQuietly) {
    cacheImage();
    offerImage(t, 7, crcText, lengthText, "png");
    platform.throwOnDecode = true;
    EXPECT_EQ(useOfferedImage(t, 7), 2);
    EXPECT_EQ(findCanvas(t.glass, 7), nullptr);
}

TEST_F(OfferUse, UseAfterTransferOnANewRunReadsTheFile) {
    offerImage(t, 1, crcText, lengthText, "png");
    sendTransfer(1, encodeBase64(image));
    EXPECT_EQ(replies(), replyText(4, 1, 0));
    // A later run: the decoded copies are gone, the file is not.
    setMediaCacheEnabled(t, false);
    setMediaCacheEnabled(t, true);
    EXPECT_EQ(offerImage(t, 2, crcText, lengthText, "png"), 1);
    EXPECT_EQ(useOfferedImage(t, 2), 0);
    EXPECT_EQ(platform.decodeCount, 2);
    EXPECT_EQ(findCanvas(t.glass, 2)->pixels, findCanvas(t.glass, 1)->pixels);
}

}  // namespace
}  // namespace orvane
