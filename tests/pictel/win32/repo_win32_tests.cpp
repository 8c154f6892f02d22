// Repository names against the real file system: every attack answers its
// reply and nothing outside the repository is read.
#include <wincodec.h>

#include "pictel/media_replies.h"
#include "pictel/repo_rules.h"
#include "test_images.h"
#include "win32_media_fixture.h"

namespace orvane {
namespace {

class RepoOnDisk : public testing::Win32MediaTest {
protected:
    RepoOnDisk() {
        const std::vector<uint8_t> png =
            testing::encodeWithWic(GUID_ContainerFormatPng, testing::canvasOf(2, 1, {0xFF112233u, 0xFF445566u}));
        testing::writeBytes(root / L"secret.png", png);  // beside the repository
        testing::writeBytes(t.mediaRepoDir + L"\\ok.png", png);
        CreateDirectoryW((t.mediaRepoDir + L"\\sub").c_str(), nullptr);
        testing::writeBytes(t.mediaRepoDir + L"\\sub\\inner.png", png);
        CreateDirectoryW((t.mediaRepoDir + L"\\folder").c_str(), nullptr);
        CreateDirectoryW((t.mediaRepoDir + L"\\tune.wav").c_str(), nullptr);
        testing::writeBytes(t.mediaRepoDir + L"\\empty.png", {});
        testing::writeBytes(t.mediaRepoDir + L"\\text.png", {'h', 'e', 'l', 'l', 'o'});
        testing::writeBytes(t.mediaRepoDir + L"\\beep.wav", testing::silentWav());
    }

    // Every path the platform was asked about lies inside the repository.
    void expectOnlyRepositoryTouched(const std::string& name) {
        const std::wstring inside = t.mediaRepoDir + L"\\";
        for (const std::wstring& path : platform.touched)
            EXPECT_EQ(CompareStringOrdinal(path.c_str(), int(inside.size()), inside.c_str(), int(inside.size()), TRUE),
                      CSTR_EQUAL)
                << name;
        platform.touched.clear();
    }

    int load(const std::string& name) {
        const int value = loadRepoImageCommand(t, 1, name);
        expectOnlyRepositoryTouched(name);
        return value;
    }
};

TEST_F(RepoOnDisk, NamesInsideTheRepositoryLoad) {
    for (const char* name : {"ok.png", "sub/inner.png", "sub\\inner.png", "SUB/INNER.PNG"})
        EXPECT_EQ(load(name), kRepoLoaded) << name;
    EXPECT_EQ(findCanvas(t.glass, 1)->pixels, (std::vector<uint32_t>{0xFF112233u, 0xFF445566u}));
}

// The name rules themselves are tested portably; here a few attacks of each
// kind, and the names that pass the rules but not the full-path step.
TEST_F(RepoOnDisk, PathAttacksAreInvalidNames) {
    std::string deep;
    while (deep.size() < 600) deep += "sub/";
    const std::vector<std::string> attacks = {
        "../secret.png", "sub/../../secret.png", "\\secret.png", "C:\\windows\\win.ini", "\\\\server\\share\\x.png",
        "\\\\?\\C:\\x.png", "ok.png::$DATA", "ok.png. .", "sub /inner.png", "CON", "nul.wav", "\xC0\xAE\xC0\xAE/secret.png",
        std::string(600, 'a'), deep + "ok.png",
    };
    for (const std::string& name : attacks) EXPECT_EQ(load(name), kRepoInvalidPath) << name;
}

TEST_F(RepoOnDisk, FoldersMissingEmptyAndBrokenFiles) {
    EXPECT_EQ(load("folder"), kRepoNotAvailable);
    EXPECT_EQ(load("sub"), kRepoNotAvailable);
    EXPECT_EQ(load("missing.png"), kRepoNotAvailable);
    EXPECT_EQ(load("empty.png"), kRepoNotAvailable);
    EXPECT_EQ(load("text.png"), kRepoUndecodable);
    EXPECT_EQ(load("beep.wav"), kRepoUndecodable);
}

TEST_F(RepoOnDisk, ResolvedPathsAreFullPathsInsideTheFolder) {
    std::wstring resolved;
    ASSERT_TRUE(resolveRepoPath(t, "sub/inner.png", resolved));
    EXPECT_EQ(resolved, t.mediaRepoDir + L"\\sub\\inner.png");
    // A name that fits alone but not within 520 characters of full path.
    const std::string longName(519 - t.mediaRepoDir.size(), 'n');
    EXPECT_FALSE(resolveRepoPath(t, longName, resolved));
    EXPECT_TRUE(resolveRepoPath(t, longName.substr(1), resolved));
}

TEST_F(RepoOnDisk, SoundsFollowTheSameRules) {
    const auto play = [&](const std::string& name, bool loop = false) {
        const int value = playSoundCommand(t, 1, name, loop);
        expectOnlyRepositoryTouched(name);
        return value;
    };
    for (const char* name : {"../secret", "..\\secret", "/beep", "C:beep", "CON", "beep.wav:x", "sub /beep", ".wav"})
        EXPECT_EQ(play(name), kSoundInvalidName) << name;
    EXPECT_EQ(play("missing"), kSoundNotFound);
    EXPECT_EQ(play("tune"), kSoundNotFound);  // a folder
    EXPECT_EQ(play("beep", true), kSoundPlaying);
    EXPECT_EQ(play("BEEP.WAV"), kSoundPlaying);  // replaces the looping sound
    stopSoundCommand(t);
}

}  // namespace
}  // namespace orvane
