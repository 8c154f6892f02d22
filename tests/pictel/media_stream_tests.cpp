// The media commands as a device sends them, through the byte stream.
#include "media_fixture.h"

namespace orvane::testing {
namespace {

class MediaStream : public MediaTest {
protected:
    void apc(const std::string& text) { feedText(t, "\x1b_" + text + "\x1b\\"); }
    std::string image = encodeImage(makeCanvas(6, 5, 0xFF00FF00u));
};

TEST_F(MediaStream, OfferTransferAndReOfferForIdZero) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", unsigned(referenceCrc32(image)));
    const std::string offer = "Gi=0,op=off,crc=" + std::string(crc) + ",len=" + std::to_string(image.size()) + ",f=jpg";
    apc(offer);
    EXPECT_EQ(replies(), replyText(2, 0, 0));
    const std::string text = encodeBase64(image);
    apc("Gi=0,m=1,n=1;" + text.substr(0, 60));
    apc("Gi=0,h=5,m=1,n=1;" + text.substr(0, 60));  // "h" starts the transfer over
    apc("Gi=0,m=1,n=2;" + text.substr(60, 60));
    apc("Gi=0,m=0,n=3;" + text.substr(120));
    EXPECT_EQ(replies(), replyText(3, 0, 1) + replyText(3, 0, 1) + replyText(3, 0, 2) + replyText(4, 0, 0));
    ASSERT_EQ(cacheFiles().size(), 1u);
    EXPECT_EQ(cacheFiles()[0].substr(cacheFiles()[0].size() - 5), L".jpeg");
    apc(offer);
    apc("Gi=0,op=use");
    EXPECT_EQ(replies(), replyText(2, 0, 1) + replyText(4, 0, 0));
}

TEST_F(MediaStream, UnofferedTransferAnswersNothing) {
    const std::string text = encodeBase64(image);
    apc("Gi=1,f=png;" + text.substr(0, 8));
    apc("Gi=1,m=0;" + text.substr(8));
    EXPECT_EQ(replies(), "");
    EXPECT_NE(findCanvas(t.glass, 1), nullptr);
    EXPECT_TRUE(cacheFiles().empty());
}

TEST_F(MediaStream, DeletingCanvasesDropsTheirTransfersButNotTheirOffers) {
    apc("Gi=3,op=off,crc=1,len=1");
    apc("Gi=3,m=1,n=1;QUFB");
    apc("Gi=4,m=1,n=1;QUFB");
    feedText(t, "\x1b[=3K");
    EXPECT_EQ(t.glass.pendingTransfers.count(3), 0u);
    EXPECT_EQ(t.glass.pendingTransfers.count(4), 1u);
    EXPECT_EQ(t.glass.offers.count(3), 1u);
    apc("Gi=5,m=1,n=1;QUFB");
    feedText(t, "\x1b[=K");
    EXPECT_TRUE(t.glass.pendingTransfers.empty());
    EXPECT_EQ(t.glass.offers.count(3), 1u);
    feedText(t, "\x1b[=Z");
    EXPECT_TRUE(t.glass.offers.empty());
}

TEST_F(MediaStream, RepositoryImagesAndSounds) {
    addRepoFile(L"icons\\ok.png", image);
    addRepoFile(L"alarm.wav", "RIFF");
    apc("Gi=4,op=repo,path=icons/ok.png");
    apc("Gi=5,op=repo,path=../x.png");
    apc("Gi=1,op=play,path=alarm,loop=-1");
    apc("Gi=0,op=play,path=\talarm ,loop=0");
    apc("Gi=1,op=play,path=.wav");
    apc("Gi=9,op=stop");
    EXPECT_EQ(replies(), replyText(1, 4, 0) + replyText(1, 5, 2) + replyText(5, 1, 0) + replyText(5, 0, 0) +
                             replyText(5, 1, 2) + replyText(5, 9, 0));
    using Play = std::pair<std::wstring, bool>;
    EXPECT_EQ(platform.played, (std::vector<Play>{{kRepoDir + L"\\alarm.wav", true}, {kRepoDir + L"\\alarm.wav", false}}));
    EXPECT_EQ(platform.stops, 1);
    EXPECT_EQ(platform.placeholders, std::vector<std::wstring>{L"invalid image path"});
}

}  // namespace
}  // namespace orvane::testing
