#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "render/win32/dib_section.h"

namespace orvane {

// The picture a paint is composed in before one copy to the screen: a
// memory context with a 32-bit top-down DIB section, kept while the paint
// size stays.
class BackBuffer {
public:
    // Reuses the buffer of this size or makes a new one; false when it
    // cannot be made (none is held then).
    bool ensure(HDC compatible, int32_t width, int32_t height);
    void release();

    explicit operator bool() const { return context_ != nullptr; }
    HDC dc() const { return context_ ? context_->dc() : nullptr; }
    const uint32_t* pixels() const { return dib_.pixels(); }
    int32_t width() const { return dib_.width(); }
    int32_t height() const { return dib_.height(); }

private:
    // The context goes before the bitmap it holds.
    DibSection dib_;
    std::unique_ptr<MemoryContext> context_;
};

}  // namespace orvane
