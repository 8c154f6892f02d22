// Repository names and the "repo" operation.
#include "media_fixture.h"

#include "pictel/image_store.h"
#include "pictel/media_cache.h"
#include "pictel/media_replies.h"
#include "pictel/repo_image.h"
#include "pictel/repo_rules.h"
#include "pictel/utf8_to_wide.h"

namespace orvane {
namespace {

using testing::encodeTestImage;
using testing::makeTestCanvas;

TEST(RepoNames, NamesInsideTheRepositoryAreJoinedWithBackslashes) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"logo.png", L"logo.png"},
        {"icons/ok.png", L"icons\\ok.png"},
        {"icons\\ok.png", L"icons\\ok.png"},
        {"a/b\\c.png", L"a\\b\\c.png"},
        {"name with blanks.png", L"name with blanks.png"},
        {".hidden", L".hidden"},
        {"cone/console.png", L"cone\\console.png"},  // only whole device names are refused
        {"COM10.png", L"COM10.png"},
        {"caf\xC3\xA9.png", L"caf\u00E9.png"},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(repoRelativeName(name), expected) << name;
}

TEST(RepoNames, NamesThatCouldLeaveTheRepositoryAreRefused) {
    const std::string tooLong(600, 'a');
    const std::vector<std::string> names = {
             "", "/logo.png", "\\logo.png", "../x.png", "a/../../x.png", "..", ".", "a/./b.png", "a//b.png",
             "a\\/b.png", "dir/", "dir\\", "name.", "name ", "dir./x.png", "dir /x.png",
             "C:x.png", "C:\\x.png", "x.png:stream", "x.png::$DATA", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
             std::string("a\x01b"), "a\tb", std::string("a\0b", 3),
             "CON", "con", "NUL.png", "nul .txt", "sub/AUX", "PRN.x.y", "COM1", "com9.wav", "LPT1", "lpt3.png",
             "COM\xC2\xB9", "CONIN$", "conout$.txt",
             "bad\xFFname.png", "\xC0\xAF..\xC0\xAFx.png",  // invalid UTF-8, also as an overlong "/"
    };
    for (const std::string& name : names) {
        EXPECT_EQ(repoRelativeName(name), L"") << name;
    }
    EXPECT_EQ(repoRelativeName(tooLong), std::wstring(600, L'a'));  // length is the full-path step's concern
    // Names that cannot fit a full path are refused before conversion, but
    // only those: 519 three-byte characters are still 519 UTF-16 units.
    EXPECT_EQ(repoRelativeName(std::string(kRepoNameByteLimit, 'a')), L"");
    std::string euros;
    while (euros.size() + 3 < kRepoNameByteLimit) euros += "\xE2\x82\xAC";
    EXPECT_EQ(repoRelativeName(euros), std::wstring(euros.size() / 3, wchar_t(0x20AC)));
}

class Repo : public testing::MediaTest {
protected:
    std::vector<uint8_t> image = encodeTestImage(makeTestCanvas(6, 2, 0xFF445566u));

    int load(int32_t id, const std::string& name) { return loadRepoImageCommand(t, id, name); }
    std::wstring lastPlaceholder() const { return platform.placeholders.empty() ? L"" : platform.placeholders.back(); }
};

TEST_F(Repo, LoadsAnImageByRelativeName) {
    folder.write("repo/icons/ok.png", image);
    EXPECT_EQ(load(4, "icons/ok.png"), kRepoLoaded);
    EXPECT_EQ(load(5, "icons\\ok.png"), kRepoLoaded);
    const Canvas* canvas = findCanvas(t.glass, 4);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width, 6);
    EXPECT_EQ(canvas->pixels[0], 0xFF445566u);
    EXPECT_EQ(canvas->sourceCrc, 0u);
    EXPECT_TRUE(platform.placeholders.empty());
    EXPECT_EQ(bitmaps.dropped, (std::vector<int32_t>{4, 4, 5, 5}));
}

TEST_F(Repo, NamesAreNotRestrictedByExtension) {
    folder.write("repo/picture.data", image);
    EXPECT_EQ(load(1, "picture.data"), kRepoLoaded);
}

TEST_F(Repo, DisabledRepositoryAnswersFourWhateverThePath) {
    folder.write("repo/ok.png", image);
    t.mediaRepoEnabled = false;
    for (const char* name : {"ok.png", "../x", ""}) {
        EXPECT_EQ(load(1, name), kRepoDisabled) << name;
        EXPECT_EQ(lastPlaceholder(), L"media repo disabled");
    }
    t.mediaRepoEnabled = true;
    t.mediaRepoDir.clear();
    EXPECT_EQ(load(1, "ok.png"), kRepoDisabled);
    EXPECT_EQ(findCanvas(t.glass, 1)->width, kPlaceholderWidth);
}

TEST_F(Repo, InvalidNamesShowTheirPlaceholderAndReadNothing) {
    folder.write("x.png", image);  // beside the repository, not in it
    for (const char* name : {"../x.png", "/logo.png", "a/./b.png", "a//b.png", "C:x.png", "dir/", "name.", "CON"}) {
        EXPECT_EQ(load(2, name), kRepoInvalidPath) << name;
        EXPECT_EQ(lastPlaceholder(), L"invalid image path") << name;
    }
    EXPECT_TRUE(platform.reads.empty());
    EXPECT_EQ(platform.decodeCount, 0);
    EXPECT_EQ(findCanvas(t.glass, 2)->height, kPlaceholderHeight);
}

TEST_F(Repo, MissingFoldersEmptyAndOversizedFilesAreNotAvailable) {
    folder.write("repo/empty.png", {});
    folder.write("repo/sub/inner.png", image);
    {
        std::ofstream big(folder.path() / "repo/big.png", std::ios::binary);
    }
    std::filesystem::resize_file(folder.path() / "repo/big.png", kMaxEncodedImageBytes + 1);
    for (const char* name : {"missing.png", "sub", "empty.png", "big.png"}) {
        EXPECT_EQ(load(3, name), kRepoNotAvailable) << name;
        EXPECT_EQ(lastPlaceholder(), L"image " + utf8ToWide(name) + L" not available") << name;
    }
    EXPECT_EQ(platform.decodeCount, 0);
}

TEST_F(Repo, AFileThatIsNotAnImageIsUnreadable) {
    folder.write("repo/caf\xC3\xA9.png", {'t', 'e', 'x', 't'});
    EXPECT_EQ(load(1, "caf\xC3\xA9.png"), kRepoUndecodable);
    EXPECT_EQ(lastPlaceholder(), L"image caf\u00E9.png unreadable");
}

TEST_F(Repo, AFailedLoadReplacesTheCanvas) {
    folder.write("repo/ok.png", image);
    ASSERT_EQ(load(1, "ok.png"), kRepoLoaded);
    EXPECT_EQ(load(1, "gone.png"), kRepoNotAvailable);
    EXPECT_EQ(findCanvas(t.glass, 1)->width, kPlaceholderWidth);
}

TEST_F(Repo, AnUnchangedFileIsDecodedOnceAChangedOneAgain) {
    folder.write("repo/ok.png", image);
    EXPECT_EQ(load(1, "ok.png"), kRepoLoaded);
    EXPECT_EQ(load(2, "ok.png"), kRepoLoaded);
    EXPECT_EQ(platform.decodeCount, 1);
    EXPECT_EQ(findCanvas(t.glass, 2)->pixels, findCanvas(t.glass, 1)->pixels);
    folder.write("repo/ok.png", encodeTestImage(makeTestCanvas(7, 2, 0xFF000000u)));  // new size
    EXPECT_EQ(load(3, "ok.png"), kRepoLoaded);
    EXPECT_EQ(platform.decodeCount, 2);
    EXPECT_EQ(findCanvas(t.glass, 3)->width, 7);
    const auto path = folder.path() / "repo/ok.png";
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    EXPECT_EQ(load(4, "ok.png"), kRepoLoaded);  // touched: new time
    EXPECT_EQ(platform.decodeCount, 3);
}

TEST_F(Repo, WithoutTheMediaCacheEveryLoadDecodes) {
    folder.write("repo/ok.png", image);
    setMediaCacheEnabled(t, false);
    load(1, "ok.png");
    load(1, "ok.png");
    EXPECT_EQ(platform.decodeCount, 2);
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
}

TEST_F(Repo, CacheKeysNameTheFileItsSizeAndTime) {
    FileFacts facts;
    facts.size = 1532;
    facts.lastWriteTime = 133000000000000000ull;
    EXPECT_EQ(repoCacheKey(L"D:\\tools\\media-repo\\ok.png", facts),
              L"R|D:\\tools\\media-repo\\ok.png|1532|133000000000000000");
}

TEST_F(Repo, AnImagePastTheTotalPixelCapIsUnreadable) {
    folder.write("repo/ok.png", image);
    Canvas filler;
    filler.width = 8192;
    filler.height = 8192;
    filler.valid = true;
    for (int32_t id = 100; id < 104; ++id) t.glass.canvases[id] = filler;
    EXPECT_EQ(load(1, "ok.png"), kRepoUndecodable);
    EXPECT_EQ(findCanvas(t.glass, 1), nullptr);  // not even the placeholder fits
    EXPECT_EQ(t.decodedImages.entryCount, 0u);
}

TEST_F(Repo, RunningOutOfMemoryAnswersAsUnreadable) {
    folder.write("repo/ok.png", image);
    platform.throwOnDecode = true;
    EXPECT_EQ(load(1, "ok.png"), kRepoUndecodable);
}

TEST(RepoWithoutPlatform, FailsQuietlyWithABlackPlaceholder) {
    Terminal t;
    t.mediaRepoDir = L"C:\\repo";
    EXPECT_EQ(loadRepoImageCommand(t, 1, "ok.png"), kRepoInvalidPath);  // the full-path step fails
    const Canvas* canvas = findCanvas(t.glass, 1);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width, kPlaceholderWidth);
    EXPECT_EQ(canvas->pixels, std::vector<uint32_t>(size_t(kPlaceholderWidth) * kPlaceholderHeight, 0u));
}

}  // namespace
}  // namespace orvane
