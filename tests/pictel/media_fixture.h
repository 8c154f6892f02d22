#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictel/media_commands.h"
#include "pictel_test_util.h"
#include "support/memory_media.h"
#include "terminal/terminal.h"

namespace orvane::testing {

inline const std::wstring kCacheDir = L"C:\\media-cache";
inline const std::wstring kRepoDir = L"C:\\media-repo";

// A terminal on the in-memory platform with a cache and a repository folder.
class MediaTest : public ::testing::Test {
protected:
    MediaTest() {
        platform.addFolder(kCacheDir);
        platform.addFolder(kRepoDir);
        t.mediaPlatform = &platform;
        t.mediaCacheDir = kCacheDir;
        t.mediaRepoDir = kRepoDir;
        t.glass.bitmapCache = &bitmaps;
    }

    std::string replies() { return takeReplyText(t); }

    // Sends bytes base64-encoded as one transfer for id in chunks of
    // chunkSize characters, numbered from 1.
    void sendTransfer(int32_t id, const std::string& bytes, size_t chunkSize = 4096) { sendText(id, encodeBase64(bytes), chunkSize); }
    void sendText(int32_t id, const std::string& text, size_t chunkSize = 4096) {
        int32_t number = 1;
        for (size_t at = 0; number == 1 || at < text.size(); at += chunkSize, ++number)
            appendChunk(t, id, text.substr(at, chunkSize), number == 1, true, at + chunkSize >= text.size() ? 0 : 1, number);
    }
    // "off" for bytes with their CRC and length.
    int offer(int32_t id, const std::string& bytes, const std::string& format = "png", int64_t lengthDelta = 0) {
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", unsigned(referenceCrc32(bytes)));
        return offerImage(t, id, crc, std::to_string(int64_t(bytes.size()) + lengthDelta), format);
    }

    std::vector<std::wstring> cacheFiles() const {
        std::vector<std::wstring> names;
        for (const std::wstring& key : platform.filesIn(kCacheDir)) names.push_back(platform.files.at(key).path.substr(kCacheDir.size() + 1));
        return names;
    }
    // Four canvases that take the whole pixel budget, without pixel values.
    void fillPixelBudget() {
        Canvas filler;
        filler.width = filler.height = 8192;
        filler.valid = true;
        for (int32_t id = 100; id < 104; ++id) t.glass.canvases[id] = filler;
    }
    MemoryFile& addRepoFile(const std::wstring& relative, std::string bytes) { return platform.addFile(kRepoDir + L"\\" + relative, std::move(bytes)); }

    MemoryMediaPlatform platform;
    RecordingBitmapCache bitmaps;
    Terminal t;
};

}  // namespace orvane::testing
