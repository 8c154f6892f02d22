#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../pictel_test_util.h"
#include "../support/memory_media.h"
#include "pictel/media_commands.h"
#include "pictel/win32/win32_media_platform.h"
#include "terminal/terminal.h"

namespace orvane::testing {

// A fresh folder under the system's temporary folder, deleted with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

void writeBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::wstring& path);
bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);
std::vector<std::wstring> namesIn(const std::wstring& folder);  // sorted, without "." and ".."

// The real platform, with every path it reads or queries written down.
class WatchedPlatform : public Win32MediaPlatform {
public:
    bool queryFile(const std::wstring& path, FileFacts& facts) override {
        touched.push_back(path);
        return Win32MediaPlatform::queryFile(path, facts);
    }
    bool readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) override {
        touched.push_back(path);
        return Win32MediaPlatform::readWholeFile(path, maxBytes, out);
    }
    bool playSound(const std::wstring& path, bool loop) override {
        touched.push_back(path);
        return Win32MediaPlatform::playSound(path, loop);
    }
    std::vector<std::wstring> touched;
};

// A terminal on the real platform with cache and repository folders.
class Win32MediaTest : public ::testing::Test {
protected:
    Win32MediaTest();

    TempDir root;
    WatchedPlatform platform;
    Terminal t;
};

}  // namespace orvane::testing
