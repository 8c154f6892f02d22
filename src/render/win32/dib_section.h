#pragma once

#include <windows.h>

#include <cstdint>

namespace orvane {

// A top-down 32-bit DIB section, deleted with its owner.
class DibSection {
public:
    DibSection() = default;
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
    DibSection(DibSection&& o) noexcept;
    DibSection& operator=(DibSection&& o) noexcept;
    ~DibSection();

    // Empty when width or height is below 1 or creation fails.
    static DibSection create(HDC compatible, int32_t width, int32_t height);

    explicit operator bool() const { return bitmap_ != nullptr; }
    HBITMAP bitmap() const { return bitmap_; }
    uint32_t* pixels() const { return pixels_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    void reset();

    HBITMAP bitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// A memory context compatible with another, with one bitmap selected for
// the owner's lifetime; the replaced bitmap goes back before deletion.
class MemoryContext {
public:
    MemoryContext(HDC compatible, HBITMAP bitmap);
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    ~MemoryContext();

    explicit operator bool() const { return dc_ != nullptr; }
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ replaced_ = nullptr;
};

// Saves the context's state (clip, stretch mode, brush origin ...) for a
// scope and restores it at the end.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (saved_ != 0) RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

}  // namespace orvane
