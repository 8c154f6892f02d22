#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct Terminal;
struct OfferRecord;

// Every cache file's name begins with this; clearing deletes only such files.
inline constexpr wchar_t kCacheFilePrefix[] = L"OV_";

// mediaCacheDir + "\OV_<CRC, 8 hex digits>_L<length, 10 digits or more>.<extension>".
std::wstring cacheFilePath(const Terminal& t, uint32_t crc, uint64_t length, const std::string& extension);
// The decoded-image cache key of a media-cache image: "<CRC>_<length>_<extension>".
std::wstring mediaCacheKey(uint32_t crc, uint64_t length, const std::string& extension);
// Whether the cache is switched on and has a folder.
bool mediaCacheUsable(const Terminal& t);

// Writes the received file under a temporary name beside its final one and
// renames it into place only when complete, so an interrupted write never
// leaves a file that an offer would take for the cached image. Failures are
// silent: the image is shown all the same.
void writeCacheFile(Terminal& t, const OfferRecord& offer, const std::vector<uint8_t>& bytes);

// Switching the cache off forgets the decoded images.
void setMediaCacheEnabled(Terminal& t, bool enabled);
// Deletes the cache files ("OV_" names only) and forgets the decoded images;
// returns the number of files deleted (0 when there is no cache folder).
int clearMediaCache(Terminal& t);

}  // namespace orvane
