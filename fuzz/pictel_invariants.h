#pragma once

// What must hold of the Pictel state after every command, whatever the
// device sent: the glass store and its budgets, the decoded-image cache,
// the files the terminal left in the media cache, the compositor's bitmap
// notifications and the replies queued for the device. Each check returns
// the first problem as readable text, or an empty string.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_media_platform.h"
#include "terminal/terminal.h"

namespace orvane::fuzzing {

// One reply as read back from the queue.
struct Reply {
    enum class Kind : uint8_t { Pictel, Size, DeviceAttributes, StatusOk, CursorPosition };
    Kind kind = Kind::Pictel;
    int64_t first = 0;  // code; rows; row
    int64_t second = 0; // id; columns; column
    int64_t third = 0;  // value
};

// Reads the whole queue as a sequence of well-formed replies, each with its
// values in range.
std::string parseReplies(const std::vector<uint8_t>& bytes, std::vector<Reply>& out);
std::string describeReply(const Reply& reply);

std::string findGlassViolation(const Terminal& t);
std::string findDecodedCacheViolation(const DecodedImageCache& cache);
// Every file the terminal wrote under a cache file's final name holds the
// bytes the name announces: length and CRC.
std::string findCacheFileViolation(const FakeMediaPlatform& platform);

// The compositor's bitmap cache, as the fuzzer sees it: which canvases were
// reported stale since the last reset.
class DropRecorder final : public CanvasBitmapCache {
public:
    void dropCanvasBitmap(int32_t id) override { ids_.insert(id); }
    void dropAllCanvasBitmaps() override { all_ = true; }
    void reset() {
        ids_.clear();
        all_ = false;
    }
    bool dropped(int32_t id) const { return all_ || ids_.count(id) != 0; }

private:
    std::set<int32_t> ids_;
    bool all_ = false;
};

// The pixel count of the largest canvas.
int64_t largestCanvas(const GlassLayer& glass);

// Size, view and a hash of the pixels of every canvas.
struct CanvasPrint {
    int32_t width = 0;
    int32_t height = 0;
    int32_t view[4] = {};
    uint64_t pixelHash = 0;
    bool operator==(const CanvasPrint& other) const;
};
using CanvasPrints = std::map<int32_t, CanvasPrint>;

// False, leaving prints empty, when the canvases hold more than pixelLimit
// pixels together: hashing them after every step would cost too much.
bool takeCanvasPrints(const GlassLayer& glass, int64_t pixelLimit, CanvasPrints& prints);
// A canvas that appeared, went, or changed size, view or pixels without its
// bitmap being dropped.
std::string findUnreportedChange(const CanvasPrints& before, const CanvasPrints& after,
                                 const DropRecorder& drops);

}  // namespace orvane::fuzzing
