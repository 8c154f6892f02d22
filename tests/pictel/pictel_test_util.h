#pragma once

#include <string>
#include <vector>

#include "pictel/glass_layer.h"
#include "terminal/terminal.h"

namespace orvane::testing {

inline void feedText(Terminal& t, const std::string& s) {
    feed(t, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

inline std::string takeReplyText(Terminal& t) {
    std::vector<uint8_t> out;
    takeReplies(t, out);
    return std::string(out.begin(), out.end());
}

// Records what the compositor would be told.
struct RecordingBitmapCache : CanvasBitmapCache {
    std::vector<int32_t> dropped;
    int droppedAll = 0;
    void dropCanvasBitmap(int32_t id) override { dropped.push_back(id); }
    void dropAllCanvasBitmaps() override { ++droppedAll; }
};

}  // namespace orvane::testing
