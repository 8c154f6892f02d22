// Repository names, the "repo" and "play" operations, and the background
// picture.
#include "media_fixture.h"

#include <cstring>

#include "pictel/background_image.h"
#include "pictel/image_store.h"
#include "pictel/media_cache.h"
#include "pictel/media_replies.h"
#include "pictel/repo_image.h"
#include "pictel/repo_rules.h"
#include "pictel/sounds.h"

namespace orvane::testing {
namespace {

TEST(RepoNames, NamesInsideTheRepositoryAreJoinedWithBackslashes) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"logo.png", L"logo.png"}, {"icons/ok.png", L"icons\\ok.png"}, {"a/b\\c.png", L"a\\b\\c.png"},
        {".hidden", L".hidden"}, {"cone/console.png", L"cone\\console.png"}, {"COM10.png", L"COM10.png"},
        {"caf\xC3\xA9 1.png", L"caf\u00E9 1.png"},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(repoRelativeName(name), expected) << name;
    EXPECT_EQ(repoRelativeName(std::string(600, 'a')), std::wstring(600, L'a'));  // length is the full path's concern
    std::string euros;  // 519 three-byte characters are still 519 UTF-16 units
    while (euros.size() + 3 < kRepoNameByteLimit) euros += "\xE2\x82\xAC";
    EXPECT_EQ(repoRelativeName(euros), std::wstring(euros.size() / 3, wchar_t(0x20AC)));
}

TEST(RepoNames, NamesThatCouldLeaveTheRepositoryOrNameADeviceAreRefused) {
    const std::string names[] = {
        "", "/logo.png", "\\logo.png", "../x.png", "a/../b.png", "..", ".", "a/./b.png", "a//b.png", "dir/",
        "name.", "name ", "dir./x.png", "dir /x.png", "C:x.png", "C:\\x.png", "x.png::$DATA", "a*b", "a?b",
        "a\"b", "a<b", "a>b", "a|b", "a\x01" "b", "a\tb", std::string("a\0b", 3), "CON", "nul .txt",
        "sub/AUX", "PRN.x.y", "COM0", "com9.wav", "LPT0.png", "lpt3.png", "COM\xC2\xB9", "conout$.txt",
        "bad\xFFname.png", "\xC0\xAF..\xC0\xAFx.png", std::string(kRepoNameByteLimit, 'a'),
    };
    for (const std::string& name : names) EXPECT_EQ(repoRelativeName(name), L"") << name;
}

class Repo : public MediaTest {
protected:
    std::string image = encodeImage(makeCanvas(6, 2, 0xFF445566u));
    int load(int32_t id, const std::string& name) { return loadRepoImageCommand(t, id, name); }
    std::wstring lastPlaceholder() const { return platform.placeholders.empty() ? L"" : platform.placeholders.back(); }
};

TEST_F(Repo, LoadsAnImageByRelativeNameWhateverItsExtension) {
    addRepoFile(L"icons\\ok.png", image);
    addRepoFile(L"picture.data", image);
    EXPECT_EQ(load(4, "icons/ok.png"), kRepoLoaded);
    EXPECT_EQ(load(5, "icons\\ok.png"), kRepoLoaded);
    EXPECT_EQ(load(6, "picture.data"), kRepoLoaded);
    EXPECT_EQ(findCanvas(t.glass, 4)->pixels, makeCanvas(6, 2, 0xFF445566u).pixels);
    EXPECT_TRUE(platform.placeholders.empty());
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{4, 4, 5, 5, 6, 6}));
}

TEST_F(Repo, EveryFailureHasItsAnswerAndPlaceholder) {
    addRepoFile(L"ok.png", image);
    addRepoFile(L"empty.png", "");
    addRepoFile(L"big.png", image).claimedSize = kMaxEncodedImageBytes + 1;
    addRepoFile(L"short.png", image).claimedSize = image.size() + 1;
    addRepoFile(L"caf\u00E9.png", "text");
    platform.addFolder(kRepoDir + L"\\sub");
    platform.addFile(L"C:\\x.png", image);  // beside the repository, not in it
    for (const char* name : {"../x.png", "/logo.png", "a/./b.png", "C:x.png", "dir/", "name.", "CON"}) {
        EXPECT_EQ(load(2, name), kRepoInvalidPath) << name;
        EXPECT_EQ(lastPlaceholder(), L"invalid image path") << name;
    }
    EXPECT_TRUE(platform.reads.empty());
    for (const char* name : {"missing.png", "sub", "empty.png", "big.png", "short.png"}) {
        EXPECT_EQ(load(3, name), kRepoNotAvailable) << name;
        EXPECT_EQ(lastPlaceholder(), L"image " + std::wstring(name, name + strlen(name)) + L" not available");
    }
    EXPECT_EQ(platform.decodeCount, 0);
    EXPECT_EQ(load(1, "caf\xC3\xA9.png"), kRepoUndecodable);
    EXPECT_EQ(lastPlaceholder(), L"image caf\u00E9.png unreadable");
    ASSERT_EQ(load(1, "ok.png"), kRepoLoaded);
    EXPECT_EQ(load(1, "gone.png"), kRepoNotAvailable);  // a failed load replaces the canvas
    EXPECT_EQ(findCanvas(t.glass, 1)->width, kPlaceholderWidth);
    platform.throwOnDecode = true;
    setMediaCacheEnabled(t, false);
    EXPECT_EQ(load(1, "ok.png"), kRepoUndecodable);  // out of memory
}

TEST_F(Repo, DisabledRepositoryAnswersFourWhateverThePath) {
    addRepoFile(L"ok.png", image);
    t.mediaRepoEnabled = false;
    for (const char* name : {"ok.png", "../x", ""}) {
        EXPECT_EQ(load(1, name), kRepoDisabled) << name;
        EXPECT_EQ(lastPlaceholder(), L"media repo disabled");
    }
    t.mediaRepoEnabled = true;
    t.mediaRepoDir.clear();
    EXPECT_EQ(load(1, "ok.png"), kRepoDisabled);
    Terminal headless;  // without a platform the full-path step fails; the placeholder is black
    headless.mediaRepoDir = L"C:\\repo";
    EXPECT_EQ(loadRepoImageCommand(headless, 1, "ok.png"), kRepoInvalidPath);
    EXPECT_EQ(findCanvas(headless.glass, 1)->pixels, std::vector<uint32_t>(size_t(kPlaceholderWidth) * kPlaceholderHeight));
}

TEST_F(Repo, AnUnchangedFileIsDecodedOnceAChangedOneAgain) {
    addRepoFile(L"ok.png", image);
    EXPECT_EQ(load(1, "ok.png"), kRepoLoaded);
    EXPECT_EQ(load(2, "ok.png"), kRepoLoaded);
    EXPECT_EQ(platform.decodeCount, 1);
    EXPECT_EQ(findCanvas(t.glass, 2)->pixels, findCanvas(t.glass, 1)->pixels);
    addRepoFile(L"ok.png", encodeImage(makeCanvas(7, 2, 0)));  // new size
    EXPECT_EQ(load(3, "ok.png"), kRepoLoaded);
    EXPECT_EQ(findCanvas(t.glass, 3)->width, 7);
    platform.find(kRepoDir + L"\\ok.png")->writeTime += 5;  // saved again: new time
    EXPECT_EQ(load(4, "ok.png"), kRepoLoaded);
    EXPECT_EQ(platform.decodeCount, 3);
    setMediaCacheEnabled(t, false);
    load(1, "ok.png");
    EXPECT_EQ(platform.decodeCount, 4);
    FileFacts facts;
    facts.size = 1532;
    facts.lastWriteTime = 133000000000000000ull;
    EXPECT_EQ(repoCacheKey(L"D:\\repo\\ok.png", facts), L"R|D:\\repo\\ok.png|1532|133000000000000000");
}

TEST_F(Repo, AnImagePastTheTotalPixelCapIsUnreadable) {
    addRepoFile(L"ok.png", image);
    fillPixelBudget();
    EXPECT_EQ(load(1, "ok.png"), kRepoUndecodable);
    EXPECT_EQ(findCanvas(t.glass, 1), nullptr);  // not even the placeholder fits
}

class Sounds : public MediaTest {
protected:
    Sounds() {
        for (const wchar_t* name : {L"alarm.wav", L"bell.mp3.wav", L"sub\\beep.wav", L".wav"}) addRepoFile(name, "RIFF");
        platform.addFolder(kRepoDir + L"\\folder.wav");
    }
    int play(const std::string& name, bool loop = false) { return playSoundCommand(t, 1, name, loop); }
};

TEST_F(Sounds, PlaysRepositoryWaveFilesWithTheExtensionImplied) {
    for (const char* name : {"alarm", "alarm.wav", "alarm.WAV", "alarm.Wav", "sub/beep"}) EXPECT_EQ(play(name, true), kSoundPlaying) << name;
    EXPECT_EQ(play("bell.mp3"), kSoundPlaying);
    using Play = std::pair<std::wstring, bool>;
    EXPECT_EQ(platform.played, (std::vector<Play>{{kRepoDir + L"\\alarm.wav", true}, {kRepoDir + L"\\alarm.wav", true},
                                                   {kRepoDir + L"\\alarm.wav", true}, {kRepoDir + L"\\alarm.wav", true},
                                                   {kRepoDir + L"\\sub\\beep.wav", true}, {kRepoDir + L"\\bell.mp3.wav", false}}));
}

TEST_F(Sounds, EachCheckHasItsAnswerInOrder) {
    for (const char* name : {"", ".wav", ".WAV", "../x", "/alarm", "NUL"}) EXPECT_EQ(play(name), kSoundInvalidName) << name;
    EXPECT_EQ(play("missing"), kSoundNotFound);
    EXPECT_EQ(play("folder"), kSoundNotFound);
    platform.refusePlay = true;
    EXPECT_EQ(play("alarm"), kSoundRefused);
    t.mediaRepoEnabled = false;
    EXPECT_EQ(play("alarm"), kSoundRepoDisabled);
    setSoundsEnabled(t, false);
    EXPECT_EQ(play("alarm"), kSoundsDisabled);  // even with the repository off too
    setSoundsEnabled(t, true);
    t.mediaRepoEnabled = true;
    t.mediaRepoDir.clear();
    EXPECT_EQ(play("alarm"), kSoundRepoDisabled);
    EXPECT_TRUE(platform.played.empty());
    stopSoundCommand(t);
    EXPECT_EQ(platform.stops, 1);
    Terminal headless;
    stopSoundCommand(headless);  // no player: nothing to stop
}

TEST_F(MediaTest, BackgroundImageLoadsReplacesAndRemoves) {
    platform.addFile(L"C:\\bg.img", encodeImage(makeCanvas(8, 4, 1)));
    platform.addFile(L"C:\\junk.img", "junk");
    platform.addFile(L"C:\\big.img", encodeImage(makeCanvas(1, 1, 1))).claimedSize = kMaxBackgroundFileBytes + 1;
    Canvas background;
    t.dirty = 0;
    const uint64_t generation = t.layerGeneration;
    ASSERT_TRUE(loadBackgroundImage(t, L"C:\\bg.img", background));
    EXPECT_EQ(background.width, 8);
    EXPECT_EQ(t.layerGeneration, generation + 1);
    EXPECT_EQ(t.dirty, 1);
    for (const wchar_t* failing : {L"C:\\missing.img", L"C:\\junk.img", L"C:\\big.img"})
        EXPECT_FALSE(loadBackgroundImage(t, failing, background)) << failing;
    EXPECT_EQ(background.width, 8);
    EXPECT_EQ(t.layerGeneration, generation + 4);
    EXPECT_TRUE(loadBackgroundImage(t, L"", background));
    EXPECT_FALSE(background.valid);
    EXPECT_TRUE(background.pixels.empty());
}

}  // namespace
}  // namespace orvane::testing
