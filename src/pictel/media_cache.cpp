#include "pictel/media_cache.h"

#include <cstdio>

#include "pictel/glass_layer.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

// The names are plain ASCII, so a byte-for-byte widening is exact.
std::wstring widenAscii(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide.push_back(wchar_t(static_cast<unsigned char>(*text)));
    return wide;
}

// Appended to a cache file's name while it is being written.
constexpr wchar_t kPartialSuffix[] = L".part";

}  // namespace

std::wstring cacheFilePath(const Terminal& t, uint32_t crc, uint64_t length, const std::string& extension) {
    char name[80];
    std::snprintf(name, sizeof name, "\\OV_%08X_L%010llu.%s", unsigned(crc), static_cast<unsigned long long>(length),
                  extension.c_str());
    return t.mediaCacheDir + widenAscii(name);
}

std::wstring mediaCacheKey(uint32_t crc, uint64_t length, const std::string& extension) {
    char key[80];
    std::snprintf(key, sizeof key, "%08X_%llu_%s", unsigned(crc), static_cast<unsigned long long>(length),
                  extension.c_str());
    return widenAscii(key);
}

bool mediaCacheUsable(const Terminal& t) { return t.mediaCacheEnabled && !t.mediaCacheDir.empty(); }

void writeCacheFile(Terminal& t, const OfferRecord& offer, const std::vector<uint8_t>& bytes) {
    MediaPlatform& platform = mediaPlatformOf(t);
    const std::wstring finalPath = cacheFilePath(t, offer.crc, offer.length, offer.extension);
    const std::wstring partialPath = finalPath + kPartialSuffix;
    if (platform.writeFile(partialPath, bytes.data(), bytes.size()) && platform.replaceFile(partialPath, finalPath))
        return;
    platform.deleteFile(partialPath);
}

void setMediaCacheEnabled(Terminal& t, bool enabled) {
    t.mediaCacheEnabled = enabled;
    if (!enabled) clearDecoded(t.decodedImages);
}

int clearMediaCache(Terminal& t) {
    if (t.mediaCacheDir.empty()) return 0;
    const int deleted = mediaPlatformOf(t).deleteFilesWithPrefix(t.mediaCacheDir, kCacheFilePrefix);
    clearDecoded(t.decodedImages);
    return deleted;
}

}  // namespace orvane
