// Loading the permanent background picture.
#include "media_fixture.h"

#include "pictel/background_image.h"

namespace orvane {
namespace {

using testing::encodeTestImage;
using testing::makeTestCanvas;

using BackgroundImage = testing::MediaTest;

TEST_F(BackgroundImage, LoadsReplacesAndRemoves) {
    folder.write("bg.img", encodeTestImage(makeTestCanvas(8, 4, 0xFF0000FFu)));
    folder.write("junk.img", {'j', 'u', 'n', 'k'});
    Canvas background;
    const uint64_t generation = t.layerGeneration;
    t.dirty = 0;
    ASSERT_TRUE(loadBackgroundImage(t, testing::toPlatformPath(folder.path() / "bg.img"), background));
    EXPECT_EQ(background.width, 8);
    EXPECT_TRUE(background.valid);
    EXPECT_EQ(t.layerGeneration, generation + 1);
    EXPECT_EQ(t.dirty, 1);
    // Failures keep the picture.
    EXPECT_FALSE(loadBackgroundImage(t, testing::toPlatformPath(folder.path() / "missing.img"), background));
    EXPECT_FALSE(loadBackgroundImage(t, testing::toPlatformPath(folder.path() / "junk.img"), background));
    EXPECT_EQ(background.width, 8);
    EXPECT_EQ(t.layerGeneration, generation + 3);
    EXPECT_TRUE(loadBackgroundImage(t, L"", background));
    EXPECT_FALSE(background.valid);
    EXPECT_TRUE(background.pixels.empty());
}

TEST_F(BackgroundImage, FilesLargerThanTheLimitAreRefused) {
    {
        std::ofstream big(folder.path() / "big.img", std::ios::binary);
    }
    std::filesystem::resize_file(folder.path() / "big.img", kMaxBackgroundFileBytes + 1);
    Canvas background;
    EXPECT_FALSE(loadBackgroundImage(t, testing::toPlatformPath(folder.path() / "big.img"), background));
    EXPECT_EQ(platform.decodeCount, 0);
}

}  // namespace
}  // namespace orvane
