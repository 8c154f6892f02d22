#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "pictel/canvas.h"

namespace orvane {

struct DecodedImage {
    Canvas canvas;
    uint64_t lastUse = 0;
};

// Decoded pictures kept for the run so that repeated "use" and "repo"
// commands do not decode again. Keys name the encoded source (media-cache
// CRC and length, or repository path, size and time).
struct DecodedImageCache {
    std::map<std::wstring, DecodedImage> entries;
    std::map<uint64_t, std::wstring> byLastUse;  // eviction order; lastUse values are unique
    size_t entryCount = 0;
    uint64_t totalBytes = 0;  // 4 bytes per cached pixel
    uint64_t useClock = 0;    // only increases
};

// Pixel bytes the cache may hold.
inline constexpr uint64_t kDecodedCacheBudget = 0x40000000;
// Entries it may hold: the pixel budget alone would let a flood of tiny
// images grow the bookkeeping without bound.
inline constexpr size_t kDecodedCacheMaxEntries = 4096;

// A hit counts as the newest use. The pointer lives until the next change.
const Canvas* lookupDecoded(DecodedImageCache& cache, const std::wstring& key);
// Keeps a copy, evicting the least recently used entries to stay within
// budget; pictures larger than the whole budget are not cached.
// May throw std::bad_alloc, leaving the cache consistent.
void storeDecoded(DecodedImageCache& cache, const std::wstring& key, const Canvas& canvas);
void clearDecoded(DecodedImageCache& cache);

}  // namespace orvane
