#pragma once

// The media platform of the Pictel tests, benchmarks and fuzzer: files and
// folders held in memory under Windows-style paths, a made-up image format,
// a placeholder renderer and a sound player that only record, and switches
// for the failures a real machine can have.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pictel/media_platform.h"

namespace orvane::testing {

// The made-up format: "IMG!", width and height as 16-bit little-endian
// values, then width x height little-endian 0xAARRGGBB pixels, or any other
// tail, which then seeds made-up pixels (so huge pictures cost few bytes).
std::string encodeImage(const Canvas& canvas);
std::string imageHeader(uint16_t width, uint16_t height, std::string_view tail = {});
// Pixels firstPixel, firstPixel + 0x01010101, ... row by row.
Canvas makeCanvas(int32_t width, int32_t height, uint32_t firstPixel);
// The device's side of an inline transfer.
std::string encodeBase64(std::string_view bytes);
// CRC-32 as zlib computes it: the tests' own, independent of the product's.
uint32_t referenceCrc32(std::string_view bytes);
// ESC [= code ; id ; value w.
std::string replyText(int32_t code, int32_t id, int32_t value);

// Largest picture the decoder makes; larger ones fail as a real decoder
// refuses what passes its own limit.
inline constexpr int64_t kMemoryDecodeMaxPixels = int64_t(1) << 22;

struct MemoryFile {
    std::wstring path;  // as created
    std::string bytes;
    uint64_t claimedSize = 0;  // reported instead of bytes.size() when set: reads come up short
    uint64_t writeTime = 1;
    bool directory = false;
    bool writtenByTerminal = false;  // written or renamed into place by the terminal
};

enum class WriteMode : uint8_t { Works, Fails, StopsHalfway };

class MemoryMediaPlatform : public MediaPlatform {
public:
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

    MemoryFile& addFile(const std::wstring& path, std::string bytes);
    void addFolder(const std::wstring& path);
    MemoryFile* find(const std::wstring& path);
    // Keys (folded paths) of the files directly inside folder.
    std::vector<std::wstring> filesIn(const std::wstring& folder) const;

    std::map<std::wstring, MemoryFile> files;  // keyed by foldPath

    WriteMode writeMode = WriteMode::Works;
    bool replaceFails = false;
    bool readFails = false;
    bool throwOnDecode = false;  // as running out of memory while decoding
    bool refusePlay = false;

    int decodeCount = 0;
    int64_t largestPicture = 0;  // pixels, from the decoder or the placeholder renderer
    std::vector<std::wstring> placeholders;  // texts rendered, in order
    std::vector<std::wstring> reads;         // paths queried or read
    std::vector<std::wstring> changed;       // paths written, renamed or deleted
    std::vector<std::pair<std::wstring, bool>> played;  // path and loop
    int stops = 0;
};

// A path as the platform compares it: "/" as "\", ASCII letters in lower case.
std::wstring foldPath(const std::wstring& path);
// Whether path lies strictly inside folder, compared folded.
bool isInside(const std::wstring& path, const std::wstring& folder);

}  // namespace orvane::testing
