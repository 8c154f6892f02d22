#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictel/canvas.h"

namespace orvane {

struct Terminal;

// Size of the picture shown in place of a repository image that cannot be used.
inline constexpr int32_t kPlaceholderWidth = 320;
inline constexpr int32_t kPlaceholderHeight = 200;

struct FileFacts {
    bool directory = false;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;  // the platform's file time
};

// Everything the media operations need from the machine: the image decoder,
// the placeholder renderer, the few file operations, the repository's
// full-path step and the sound player. The Windows layer implements it;
// tests stand in for the decoder and the player.
class MediaPlatform {
public:
    virtual ~MediaPlatform() = default;

    // The first frame as 32-bit pixels with straight alpha; false for
    // anything that is not a readable image or has more than kMaxCanvasPixels.
    virtual bool decodeImage(const uint8_t* bytes, size_t length, Canvas& out) = 0;
    // The kPlaceholderWidth x kPlaceholderHeight picture showing text.
    virtual void renderTextImage(const std::wstring& text, Canvas& out) = 0;

    // False when the path names nothing.
    virtual bool queryFile(const std::wstring& path, FileFacts& facts) = 0;
    // Opens with shared read access; the size must be 1 to maxBytes and one
    // read must return all of it.
    virtual bool readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) = 0;
    // Creates or truncates the file and writes all bytes.
    virtual bool writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) = 0;
    // Renames from into to, replacing an existing file.
    virtual bool replaceFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool deleteFile(const std::wstring& path) = 0;
    // Deletes the files (not folders) of folder whose names begin with
    // prefix, compared case-insensitively; returns how many were deleted.
    virtual int deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) = 0;
    // Makes candidate and folder absolute and succeeds only when the result
    // lies inside folder.
    virtual bool absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                                    std::wstring& resolvedOut) = 0;

    // Starts asynchronous playback of a WAV file, replacing any sound playing;
    // false when the player refuses.
    virtual bool playSound(const std::wstring& path, bool loop) = 0;
    virtual void stopSound() = 0;
};

// The terminal's platform, or one on which every operation fails (a terminal
// without a window, as in tests of other parts and the fuzzer).
MediaPlatform& mediaPlatformOf(Terminal& t);

}  // namespace orvane
