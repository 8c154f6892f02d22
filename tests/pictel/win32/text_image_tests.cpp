// The placeholder picture drawn with GDI.
#include <gtest/gtest.h>

#include <algorithm>

#include "pictel/media_platform.h"
#include "pictel/win32/text_image.h"

namespace orvane {
namespace {

constexpr uint32_t kBackground = 0x00282828u;  // red, green and blue 40; alpha left 0
constexpr uint32_t kWhite = 0x00FFFFFFu;

struct InkBounds {
    int left = kPlaceholderWidth, right = -1, top = kPlaceholderHeight, bottom = -1;
    int count = 0;
};

// Where pixels other than the background lie inside the text margin.
InkBounds inkInside(const Canvas& c, int margin) {
    InkBounds b;
    for (int y = margin; y < kPlaceholderHeight - margin; ++y) {
        for (int x = margin; x < kPlaceholderWidth - margin; ++x) {
            if (c.at(x, y) == kBackground) continue;
            ++b.count;
            b.left = std::min(b.left, x);
            b.right = std::max(b.right, x);
            b.top = std::min(b.top, y);
            b.bottom = std::max(b.bottom, y);
        }
    }
    return b;
}

TEST(TextImage, DarkPictureWithWhiteFrameAndCentredText) {
    Canvas c;
    renderTextImage(L"invalid image path", c);
    ASSERT_TRUE(c.valid);
    ASSERT_EQ(c.width, kPlaceholderWidth);
    ASSERT_EQ(c.height, kPlaceholderHeight);
    ASSERT_EQ(c.pixels.size(), size_t(kPlaceholderWidth) * kPlaceholderHeight);
    EXPECT_EQ(c.at(1, 100), kWhite);    // the frame
    EXPECT_EQ(c.at(160, 1), kWhite);
    EXPECT_EQ(c.at(318, 100), kWhite);
    EXPECT_EQ(c.at(160, 198), kWhite);
    EXPECT_EQ(c.at(6, 6), kBackground);  // between frame and text
    EXPECT_EQ(c.at(313, 193), kBackground);
    const InkBounds ink = inkInside(c, 4);
    ASSERT_GT(ink.count, 50);
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.right, 307);
    EXPECT_LE(ink.bottom - ink.top, 24);                    // one line
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 159.5, 6.0);  // centred
    for (const uint32_t p : c.pixels) EXPECT_EQ(p >> 24, 0u);
}

TEST(TextImage, LongNamesWrapOntoCentredLinesInsideTheMargin) {
    Canvas c;
    renderTextImage(L"image icons/very/deeply/nested/folder/with a long file name.png not available", c);
    const InkBounds ink = inkInside(c, 4);
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.right, 307);
    EXPECT_GE(ink.top, 12);
    EXPECT_LE(ink.bottom, 187);
    EXPECT_GT(ink.bottom - ink.top, 40);  // at least three lines
}

}  // namespace
}  // namespace orvane
