#pragma once

// What must hold after every step of a Pictel program, whatever the device
// sent: the glass store and its caps, the decoded-image cache, the files
// and calls the terminal made on its platform, the compositor's bitmap
// notifications and the replies. Each check returns the first problem as
// readable text, or an empty string.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "pictel_generator.h"
#include "support/memory_media.h"
#include "terminal/terminal.h"

namespace orvane::fuzzing {

inline constexpr wchar_t kCacheDir[] = L"C:\\fuzz\\media-cache";
inline constexpr wchar_t kRepoDir[] = L"C:\\fuzz\\media-repo";

std::string findGlassViolation(const Terminal& t);
std::string findDecodedCacheViolation(const DecodedImageCache& cache);
// Files the terminal left under a cache file's final name hold the bytes
// the name announces; it changed files only in the cache folder, played
// only repository WAV files and showed only the placeholder texts it has.
// Forgets the platform's logs.
std::string findPlatformMisuse(testing::MemoryMediaPlatform& platform);

// One reply read back from the queue: a Pictel reply (code, id, value) or
// the size query's answer (rows, columns).
struct Reply {
    bool size = false;
    int64_t first = 0, second = 0, third = 0;
};
// Reads the Pictel replies of the queue, skipping the terminal's other
// answers, and checks their form and values.
std::string parseReplies(const std::vector<uint8_t>& bytes, std::vector<Reply>& out);
// The replies one whole command must give; offered: whether its id had an
// offer before it.
std::string findReplyProblem(const Terminal& t, const Step& step, bool offered, const std::vector<Reply>& replies);

// The compositor's bitmap cache as the fuzzer sees it.
class DropRecorder final : public CanvasBitmapCache {
public:
    void dropCanvasBitmap(int32_t id) override { ids.insert(id); }
    void dropAllCanvasBitmaps() override { all = true; }
    std::set<int32_t> ids;
    bool all = false;
};

// A hash of size, view and pixels per canvas; none while the canvases are
// too many or too large to hash after every step.
std::optional<std::map<int32_t, uint64_t>> canvasPrints(const GlassLayer& glass);
// A canvas that appeared, went or changed without its bitmap being dropped.
std::string findUnreportedChange(const std::map<int32_t, uint64_t>& before, const std::map<int32_t, uint64_t>& after,
                                 const DropRecorder& drops);

}  // namespace orvane::fuzzing
