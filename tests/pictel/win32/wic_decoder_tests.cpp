// The WIC decoder on real PNG, JPEG and GIF files.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "pictel/win32/wic_decoder.h"
#include "test_images.h"

namespace orvane {
namespace {

using testing::blankPng;
using testing::canvasOf;
using testing::encodeWithWic;

bool decode(const std::vector<uint8_t>& bytes, Canvas& out) {
    ImagingFactory imaging;
    return decodeImage(imaging, bytes.data(), bytes.size(), out);
}

int channel(uint32_t pixel, int shift) { return int(pixel >> shift & 0xFF); }

TEST(WicDecoder, PngKeepsStraightAlpha) {
    // Half-transparent and fully transparent pixels keep their colours.
    const std::vector<uint32_t> pixels = {0xFF102030u, 0x80C86432u, 0x00FF8040u, 0x01FFFFFFu,
                                          0xFF000000u, 0x7F0000FFu};
    Canvas out;
    ASSERT_TRUE(decode(encodeWithWic(GUID_ContainerFormatPng, canvasOf(3, 2, pixels)), out));
    EXPECT_TRUE(out.valid);
    EXPECT_EQ(out.width, 3);
    EXPECT_EQ(out.height, 2);
    EXPECT_EQ(out.pixels, pixels);
    EXPECT_EQ(out.sourceCrc, 0u);
    EXPECT_EQ(out.viewWidth, 0);
    ASSERT_TRUE(decode(encodeWithWic(GUID_ContainerFormatPng, canvasOf(1, 1, {0xFFABCDEFu})), out));
    EXPECT_EQ(out.pixels, std::vector<uint32_t>{0xFFABCDEFu});
}

TEST(WicDecoder, JpegDecodesOpaqueWithNearlyTheSameColours) {
    std::vector<uint32_t> pixels(16 * 16);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i < 128 ? 0xFFC03020u : 0xFF2040E0u;
    Canvas out;
    ASSERT_TRUE(decode(encodeWithWic(GUID_ContainerFormatJpeg, canvasOf(16, 16, pixels)), out));
    ASSERT_EQ(out.width, 16);
    ASSERT_EQ(out.height, 16);
    for (const size_t i : {size_t(17), size_t(230)}) {  // away from the edge between the halves
        EXPECT_EQ(channel(out.pixels[i], 24), 0xFF);
        for (const int shift : {0, 8, 16})
            EXPECT_NEAR(channel(out.pixels[i], shift), channel(pixels[i], shift), 12) << i << ":" << shift;
    }
}

TEST(WicDecoder, AnimatedGifGivesItsFirstFrame) {
    const uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const std::vector<uint8_t> first = {0, 1, 2, 3, 3, 2, 1, 0};
    const std::vector<uint8_t> second = {3, 3, 3, 3, 0, 0, 0, 0};
    Canvas out;
    ASSERT_TRUE(decode(testing::animatedGif(4, 2, colours, first, second), out));
    ASSERT_EQ(out.width, 4);
    ASSERT_EQ(out.height, 2);
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(out.pixels[i], 0xFF000000u | colours[first[i]]) << i;
}

TEST(WicDecoder, BytesThatAreNotAWholeImageFail) {
    std::vector<uint32_t> pixels(64 * 64, 0xFF336699u);
    for (size_t i = 0; i < pixels.size(); i += 7) pixels[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    const std::vector<uint8_t> png = encodeWithWic(GUID_ContainerFormatPng, canvasOf(64, 64, pixels));
    const std::vector<uint8_t> truncated(png.begin(), png.begin() + ptrdiff_t(png.size() / 2));
    const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    const std::vector<uint8_t> signatureOnly(png.begin(), png.begin() + 8);
    for (const auto* bytes : {&truncated, &text, &signatureOnly}) {
        Canvas out = canvasOf(1, 1, {0x12345678u});
        EXPECT_FALSE(decode(*bytes, out)) << bytes->size();
        EXPECT_EQ(out.pixels, std::vector<uint32_t>{0x12345678u});  // the target is left alone
    }
    Canvas out;
    ImagingFactory imaging;
    EXPECT_FALSE(decodeImage(imaging, nullptr, 10, out));
    EXPECT_FALSE(decodeImage(imaging, png.data(), 0, out));
}

TEST(WicDecoder, PicturesPastThePixelLimitAreRefusedEvenWhenTheFileIsValid) {
    Canvas out;
    EXPECT_TRUE(decode(blankPng(64, 48), out));  // the hand-made files are sound
    EXPECT_EQ(out.width, 64);
    EXPECT_EQ(out.pixels[0], 0xFF000000u);
    EXPECT_TRUE(decode(blankPng(8192, 8192), out));   // exactly 0x4000000 pixels
    EXPECT_EQ(out.pixels.size(), size_t(kMaxCanvasPixels));
    out = Canvas{};
    EXPECT_FALSE(decode(blankPng(8193, 8192), out));  // one column more
    EXPECT_FALSE(decode(blankPng(10000, 10000), out));
    EXPECT_EQ(out.width, 0);  // left alone
}

TEST(WicDecoder, TheFactoryIsMadeOnceAndKept) {
    ImagingFactory imaging;
    ASSERT_TRUE(ensureImagingFactory(imaging));
    IWICImagingFactory* const first = imaging.factory;
    ASSERT_TRUE(ensureImagingFactory(imaging));
    EXPECT_EQ(imaging.factory, first);
    EXPECT_TRUE(imaging.comInitialized);
}

}  // namespace
}  // namespace orvane
