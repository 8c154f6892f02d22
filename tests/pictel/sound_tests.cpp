// The "play" and "stop" operations.
#include "media_fixture.h"

#include "pictel/media_replies.h"
#include "pictel/sounds.h"

namespace orvane {
namespace {

class Sounds : public testing::MediaTest {
protected:
    Sounds() {
        folder.write("repo/alarm.wav", {'R', 'I', 'F', 'F'});
        folder.write("repo/bell.mp3.wav", {'R', 'I', 'F', 'F'});
        folder.write("repo/sub/beep.wav", {'R', 'I', 'F', 'F'});
        std::filesystem::create_directories(folder.path() / "repo/folder.wav");
    }

    int play(const std::string& name, bool loop = false) { return playSoundCommand(t, 1, name, loop); }
    std::wstring repoFile(const std::string& relative) const {
        return testing::toPlatformPath(folder.path() / "repo" / relative);
    }
};

TEST_F(Sounds, PlaysRepositoryWaveFilesOnceOrLooping) {
    EXPECT_EQ(play("alarm", true), kSoundPlaying);
    EXPECT_EQ(play("sub/beep.wav"), kSoundPlaying);
    ASSERT_EQ(platform.played.size(), 2u);
    EXPECT_EQ(platform.played[0], std::make_pair(repoFile("alarm.wav"), true));
    EXPECT_EQ(platform.played[1], std::make_pair(repoFile("sub/beep.wav"), false));
}

TEST_F(Sounds, TheWaveExtensionIsImplied) {
    for (const char* name : {"alarm", "alarm.wav", "alarm.WAV", "alarm.Wav"}) EXPECT_EQ(play(name), kSoundPlaying) << name;
    EXPECT_EQ(play("bell.mp3"), kSoundPlaying);  // names bell.mp3.wav
    EXPECT_EQ(platform.played.back().first, repoFile("bell.mp3.wav"));
    for (const auto& [path, loop] : platform.played) EXPECT_EQ(path.substr(path.size() - 4), L".wav");
}

TEST_F(Sounds, EachCheckHasItsAnswer) {
    EXPECT_EQ(play(""), kSoundInvalidName);
    EXPECT_EQ(play(".wav"), kSoundInvalidName);
    EXPECT_EQ(play(".WAV"), kSoundInvalidName);
    EXPECT_EQ(play("../x"), kSoundInvalidName);
    EXPECT_EQ(play("/alarm"), kSoundInvalidName);
    EXPECT_EQ(play("NUL"), kSoundInvalidName);
    EXPECT_EQ(play("missing"), kSoundNotFound);
    EXPECT_EQ(play("folder"), kSoundNotFound);
    platform.refusePlay = true;
    EXPECT_EQ(play("alarm"), kSoundRefused);
    EXPECT_TRUE(platform.played.empty());
}

TEST_F(Sounds, SwitchesComeFirst) {
    t.mediaRepoEnabled = false;
    EXPECT_EQ(play("alarm"), kSoundRepoDisabled);
    EXPECT_EQ(play(""), kSoundRepoDisabled);
    setSoundsEnabled(t, false);
    EXPECT_EQ(play("alarm"), kSoundsDisabled);  // even with the repository off too
    t.mediaRepoEnabled = true;
    EXPECT_EQ(play("alarm"), kSoundsDisabled);
    setSoundsEnabled(t, true);
    t.mediaRepoDir.clear();
    EXPECT_EQ(play("alarm"), kSoundRepoDisabled);
    EXPECT_TRUE(platform.played.empty());
}

TEST_F(Sounds, StopAlwaysReachesThePlayer) {
    stopSoundCommand(t);
    play("alarm", true);
    stopSoundCommand(t);
    EXPECT_EQ(platform.stops, 2);
    Terminal headless;
    stopSoundCommand(headless);  // no player: nothing to stop
    EXPECT_EQ(playSoundCommand(headless, 1, "alarm", false), kSoundRepoDisabled);
}

}  // namespace
}  // namespace orvane
