#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictel/media_platform.h"

namespace orvane {

// The file operations of the media commands on Windows paths.
bool queryMediaFile(const std::wstring& path, FileFacts& facts);
// Regular disk files only: a name that reaches a device or pipe is refused.
bool readMediaFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out);
bool writeMediaFile(const std::wstring& path, const uint8_t* bytes, size_t length);
bool replaceMediaFile(const std::wstring& from, const std::wstring& to);
bool deleteMediaFile(const std::wstring& path);
int deleteMediaFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix);

// GetFullPathNameW of both (each shorter than kRepoPathLimit), then a
// case-insensitive test that the candidate lies under folder + "\".
bool fullPathInside(const std::wstring& folder, const std::wstring& candidate, std::wstring& resolvedOut);

}  // namespace orvane
