// The media commands as a device sends them, through the byte stream.
#include "media_fixture.h"

#include "pictel/crc32.h"

namespace orvane {
namespace {

using testing::encodeBase64;
using testing::encodeTestImage;
using testing::feedText;
using testing::makeTestCanvas;
using testing::replyText;

class MediaStream : public testing::MediaTest {
protected:
    void apc(const std::string& text) { feedText(t, "\x1b_" + text + "\x1b\\"); }
};

TEST_F(MediaStream, OfferTransferAndReOffer) {
    const std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(6, 5, 0xFF00FF00u));
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", unsigned(crc32(image.data(), image.size())));
    const std::string offer = "Gi=2,op=off,crc=" + std::string(crc) + ",len=" + std::to_string(image.size()) + ",f=jpg";
    apc(offer);
    EXPECT_EQ(replies(), replyText(2, 2, 0));
    const std::string text = encodeBase64(image);
    apc("Gi=2,f=jpg,m=1,n=1;" + text.substr(0, 60));
    apc("Gi=2,m=1,n=2;" + text.substr(60, 60));
    apc("Gi=2,m=0,n=3;" + text.substr(120));
    EXPECT_EQ(replies(), replyText(3, 2, 1) + replyText(3, 2, 2) + replyText(4, 2, 0));
    ASSERT_EQ(cacheFileNames().size(), 1u);
    EXPECT_EQ(cacheFileNames()[0].substr(cacheFileNames()[0].size() - 5), ".jpeg");
    apc(offer);
    EXPECT_EQ(replies(), replyText(2, 2, 1));
    apc("Gi=2,op=use");
    EXPECT_EQ(replies(), replyText(4, 2, 0));
}

TEST_F(MediaStream, UnofferedTransferAnswersNothing) {
    const std::string text = encodeBase64(encodeTestImage(makeTestCanvas(2, 2, 1)));
    apc("Gi=1,f=png;" + text.substr(0, 8));
    apc("Gi=1,m=0;" + text.substr(8));
    EXPECT_EQ(replies(), "");
    EXPECT_NE(findCanvas(t.glass, 1), nullptr);
    EXPECT_TRUE(cacheFileNames().empty());
}

TEST_F(MediaStream, DeletingACanvasDropsItsTransferButNotItsOffer) {
    apc("Gi=3,op=off,crc=1,len=1");
    apc("Gi=3,m=1,n=1;QUFB");
    feedText(t, "\x1b[=3K");
    EXPECT_EQ(t.glass.pendingTransfers.count(3), 0u);
    EXPECT_EQ(t.glass.offers.count(3), 1u);
    feedText(t, "\x1b[=Z");
    EXPECT_TRUE(t.glass.offers.empty());
}

TEST_F(MediaStream, RepositoryImagesAndSounds) {
    folder.write("repo/icons/ok.png", encodeTestImage(makeTestCanvas(3, 3, 1)));
    folder.write("repo/alarm.wav", {'R', 'I', 'F', 'F'});
    apc("Gi=4,op=repo,path=icons/ok.png");
    apc("Gi=5,op=repo,path=../x.png");
    apc("Gi=1,op=play,path=alarm,loop=1");
    apc("Gi=1,op=play,path=.wav");
    apc("Gi=9,op=stop");
    EXPECT_EQ(replies(), replyText(1, 4, 0) + replyText(1, 5, 2) + replyText(5, 1, 0) + replyText(5, 1, 2) +
                             replyText(5, 9, 0));
    ASSERT_EQ(platform.played.size(), 1u);
    EXPECT_TRUE(platform.played[0].second);
    EXPECT_EQ(platform.stops, 1);
    EXPECT_EQ(platform.placeholders, std::vector<std::wstring>{L"invalid image path"});
}

}  // namespace
}  // namespace orvane
