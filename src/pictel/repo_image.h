#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pictel/media_platform.h"

namespace orvane {

struct Terminal;

// The decoded-image cache key of a repository file: "R|" + full path +
// "|" + size + "|" + last-write time, so a replaced or touched file is new.
std::wstring repoCacheKey(const std::wstring& resolvedPath, const FileFacts& facts);

// The "repo" operation: loads the repository image named by pathBytes into
// canvas id and returns the RepoResult value. Unless it loaded, canvas id
// becomes a placeholder picture naming the problem. May throw std::bad_alloc.
int32_t loadRepoImage(Terminal& t, int32_t id, std::string_view pathBytes);

}  // namespace orvane
