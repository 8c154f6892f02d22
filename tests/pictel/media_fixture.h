#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media_test_platform.h"
#include "media_test_text.h"
#include "pictel/media_commands.h"
#include "pictel_test_util.h"
#include "terminal/terminal.h"

namespace orvane::testing {

// A terminal with the test platform, a cache folder and a repository folder.
class MediaTest : public ::testing::Test {
protected:
    MediaTest() {
        std::filesystem::create_directories(folder.path() / "cache");
        std::filesystem::create_directories(folder.path() / "repo");
        t.mediaPlatform = &platform;
        t.mediaCacheDir = toPlatformPath(folder.path() / "cache");
        t.mediaRepoDir = toPlatformPath(folder.path() / "repo");
        t.glass.bitmapCache = &bitmaps;
    }

    std::string replies() { return takeReplyText(t); }

    // Sends text as one transfer for id in chunks of chunkSize, numbered from 1.
    void sendTransfer(int32_t id, const std::string& text, size_t chunkSize = 4096) {
        int32_t number = 1;
        size_t at = 0;
        do {
            const std::string chunk = text.substr(at, chunkSize);
            at += chunk.size();
            const bool last = at >= text.size();
            appendChunk(t, id, chunk, number == 1, true, last ? 0 : 1, number);
            ++number;
        } while (at < text.size());
    }

    std::vector<std::string> cacheFileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "cache"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    TestMediaPlatform platform;
    RecordingBitmapCache bitmaps;
    Terminal t;
};

}  // namespace orvane::testing
