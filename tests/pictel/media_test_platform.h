#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pictel/media_platform.h"

namespace orvane::testing {

// A tiny image format the test decoder reads: "TIMG", width and height as
// 16-bit little-endian values, then width x height pixels as 0xAARRGGBB
// little-endian values. Anything else does not decode.
std::vector<uint8_t> encodeTestImage(const Canvas& canvas);
Canvas makeTestCanvas(int32_t width, int32_t height, uint32_t firstPixel);

// Windows-style paths ("\" separators, UTF-16 in a wide string) as paths of
// this machine.
std::filesystem::path toLocalPath(const std::wstring& path);
std::wstring toPlatformPath(const std::filesystem::path& path);

// Real files in real folders; the decoder and the player are stand-ins.
class TestMediaPlatform : public MediaPlatform {
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

    int decodeCount = 0;
    bool throwOnDecode = false;         // simulates running out of memory while decoding
    bool interruptWrites = false;       // writes half of the bytes, then fails
    std::vector<std::wstring> placeholders;  // texts rendered, in order
    std::vector<std::wstring> reads;         // paths read or queried
    bool refusePlay = false;
    std::vector<std::pair<std::wstring, bool>> played;  // path and loop
    int stops = 0;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::wstring platformPath() const { return toPlatformPath(path_); }
    // Writes a file below the folder, creating its parent folders.
    void write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    bool exists(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

}  // namespace orvane::testing
