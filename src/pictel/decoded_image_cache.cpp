#include "pictel/decoded_image_cache.h"

namespace orvane {

namespace {

uint64_t pixelBytes(const Canvas& canvas) {
    if (canvas.width <= 0 || canvas.height <= 0) return 0;
    return uint64_t(canvas.width) * uint64_t(canvas.height) * 4u;
}

void removeEntry(DecodedImageCache& cache, std::map<std::wstring, DecodedImage>::iterator it) {
    cache.totalBytes -= pixelBytes(it->second.canvas);
    cache.byLastUse.erase(it->second.lastUse);
    cache.entries.erase(it);
    cache.entryCount = cache.entries.size();
}

void evictOldest(DecodedImageCache& cache) {
    const auto oldest = cache.byLastUse.begin();
    removeEntry(cache, cache.entries.find(oldest->second));
}

}  // namespace

const Canvas* lookupDecoded(DecodedImageCache& cache, const std::wstring& key) {
    const auto it = cache.entries.find(key);
    if (it == cache.entries.end()) return nullptr;
    const uint64_t newUse = ++cache.useClock;
    auto node = cache.byLastUse.extract(it->second.lastUse);
    node.key() = newUse;
    cache.byLastUse.insert(std::move(node));
    it->second.lastUse = newUse;
    return &it->second.canvas;
}

void storeDecoded(DecodedImageCache& cache, const std::wstring& key, const Canvas& canvas) {
    const uint64_t size = pixelBytes(canvas);
    if (size == 0 || size > kDecodedCacheBudget) return;
    // Copies first, so that running out of memory leaves the cache as it was.
    DecodedImage entry{canvas, 0};
    std::wstring indexKey = key;
    if (const auto it = cache.entries.find(key); it != cache.entries.end()) removeEntry(cache, it);
    while (!cache.entries.empty() &&
           (cache.totalBytes + size > kDecodedCacheBudget || cache.entries.size() >= kDecodedCacheMaxEntries))
        evictOldest(cache);
    entry.lastUse = ++cache.useClock;
    const uint64_t lastUse = entry.lastUse;
    const auto inserted = cache.entries.emplace(key, std::move(entry)).first;
    try {
        cache.byLastUse.emplace(lastUse, std::move(indexKey));
    } catch (...) {
        cache.entries.erase(inserted);
        throw;
    }
    cache.totalBytes += size;
    cache.entryCount = cache.entries.size();
}

void clearDecoded(DecodedImageCache& cache) {
    cache.entries.clear();
    cache.byLastUse.clear();
    cache.entryCount = 0;
    cache.totalBytes = 0;
}

}  // namespace orvane
