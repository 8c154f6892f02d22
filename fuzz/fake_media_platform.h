#pragma once

// The media platform the Pictel fuzzer gives its terminal: an in-memory file
// system holding a repository and a media cache with sample files, the fake
// image decoder, a placeholder renderer and a sound player that only records.
// It also watches how the terminal uses it: writes outside the cache folder,
// sounds from outside the repository and placeholder texts the terminal
// never shows are noted in `misuse`.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pictel/media_platform.h"

namespace orvane::fuzzing {

inline constexpr wchar_t kFakeCacheDir[] = L"C:\\fuzz\\media-cache";
inline constexpr wchar_t kFakeRepoDir[] = L"C:\\fuzz\\media-repo";

struct FakeFile {
    std::wstring path;  // as created, with "\" separators
    std::string bytes;
    uint64_t claimedSize = 0;  // reported instead of bytes.size() when set: reads come up short
    uint64_t writeTime = 1;
    bool directory = false;
    bool writtenByTerminal = false;  // written or renamed by the terminal, not changed since
};

enum class WriteMode : uint8_t { Works, Fails, StopsHalfway };

class FakeMediaPlatform final : public MediaPlatform {
public:
    FakeMediaPlatform();

    bool decodeImage(const uint8_t* bytes, size_t length, Canvas& out) override;
    void renderTextImage(const std::wstring& text, Canvas& out) override;
    bool queryFile(const std::wstring& path, FileFacts& facts) override;
    bool readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) override;
    bool writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) override;
    bool replaceFile(const std::wstring& from, const std::wstring& to) override;
    bool deleteFile(const std::wstring& path) override;
    int deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) override;
    bool absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                            std::wstring& resolvedOut) override;
    bool playSound(const std::wstring& path, bool loop) override;
    void stopSound() override;

    // Knobs the fuzzer turns between commands.
    WriteMode writeMode = WriteMode::Works;
    bool replaceFails = false;
    bool readFails = false;
    bool playerRefuses = false;
    // Gives a repository file a new write time, as saving it again would.
    void touchRepoFile(uint8_t which);
    // Truncates or rewrites one file of the cache folder behind the terminal's back.
    void tamperWithCacheFile(uint8_t which);

    // What the player was asked to do.
    uint64_t playRequests = 0;
    uint64_t playsStarted = 0;
    uint64_t stopRequests = 0;

    // Pixels the decoder and the placeholder renderer produced, and the
    // largest single picture: the fuzzer's measure of work done.
    uint64_t producedPixels = 0;
    int64_t largestPicture = 0;
    std::string misuse;  // the first misuse seen, empty while there is none

    // Keyed by the folded path (lower case, "\" separators).
    const std::map<std::wstring, FakeFile>& files() const { return files_; }

private:
    void addFile(const std::wstring& relative, const std::wstring& folder, std::string bytes);
    void addFolder(const std::wstring& path);
    FakeFile* find(const std::wstring& path);
    std::vector<std::wstring> filesIn(const std::wstring& folder) const;
    void noteMisuse(const std::string& what);

    std::map<std::wstring, FakeFile> files_;
};

// A path folded for comparison the way the platform compares names.
std::wstring foldPath(const std::wstring& path);
// Whether the folded path lies inside the folded folder.
bool isInside(const std::wstring& path, const std::wstring& folder);
std::string narrow(const std::wstring& text);

}  // namespace orvane::fuzzing
