#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "pictel/glass_layer.h"

namespace orvane {

// Scaled canvas bitmaps together stay below this: a device placing many
// large canvases cannot make the terminal hold unbounded bitmap memory.
inline constexpr uint64_t kScaledCanvasBudgetBytes = 256ull << 20;

// Bytes of a 32-bit bitmap of width x height (both at least 1).
constexpr uint64_t bitmapBytes(int32_t width, int32_t height) { return uint64_t(width) * uint64_t(height) * 4u; }

// The scaled bitmap of each glass canvas, made once per drawn size and key
// state and kept within a byte budget: when a new one would pass the budget,
// the least recently drawn others go first. Bitmap is a move-only owner that
// frees its bitmap when destroyed (a GDI handle on Windows, a fake in tests).
template <class Bitmap>
class ScaledCanvasCache final : public CanvasBitmapCache {
public:
    explicit ScaledCanvasCache(uint64_t budgetBytes = kScaledCanvasBudgetBytes) : budget_(budgetBytes) {}

    // The bitmap of canvas id when it was made at this size and key state;
    // counts as drawn now.
    Bitmap* find(int32_t id, int32_t width, int32_t height, bool keyed) {
        const auto it = entries_.find(id);
        if (it == entries_.end()) return nullptr;
        Entry& e = it->second;
        if (e.width != width || e.height != height || e.keyed != keyed) return nullptr;
        e.lastDrawn = ++clock_;
        return &e.bitmap;
    }

    // Drops id's old bitmap and evicts others until a width x height bitmap
    // fits; false (nothing evicted) when it could never fit. Call before
    // making the bitmap, so that memory is free when it is allocated.
    bool makeRoom(int32_t id, int32_t width, int32_t height) {
        const uint64_t need = bitmapBytes(width, height);
        if (need > budget_) return false;
        dropCanvasBitmap(id);
        while (held_ + need > budget_ && !entries_.empty()) evictLeastRecent();
        return true;
    }

    // Keeps a bitmap made after makeRoom; it counts as drawn now.
    Bitmap& store(int32_t id, int32_t width, int32_t height, bool keyed, Bitmap bitmap) {
        dropCanvasBitmap(id);
        held_ += bitmapBytes(width, height);
        return entries_.emplace(id, Entry{std::move(bitmap), width, height, keyed, ++clock_}).first->second.bitmap;
    }

    void dropCanvasBitmap(int32_t id) override {
        const auto it = entries_.find(id);
        if (it == entries_.end()) return;
        held_ -= bitmapBytes(it->second.width, it->second.height);
        entries_.erase(it);
    }

    void dropAllCanvasBitmaps() override {
        entries_.clear();
        held_ = 0;
    }

    uint64_t bytesHeld() const { return held_; }
    template <class Visit>
    void forEachBitmap(Visit visit) const {
        for (const auto& [id, entry] : entries_) visit(entry.bitmap);
    }
    bool holds(int32_t id) const { return entries_.count(id) != 0; }

private:
    struct Entry {
        Bitmap bitmap;
        int32_t width;
        int32_t height;
        bool keyed;
        uint64_t lastDrawn;
    };

    void evictLeastRecent() {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.lastDrawn < oldest->second.lastDrawn) oldest = it;
        }
        dropCanvasBitmap(oldest->first);
    }

    std::map<int32_t, Entry> entries_;
    uint64_t budget_;
    uint64_t held_ = 0;
    uint64_t clock_ = 0;
};

}  // namespace orvane
