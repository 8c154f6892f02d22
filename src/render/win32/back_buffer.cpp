#include "render/win32/back_buffer.h"

namespace orvane {

bool BackBuffer::ensure(HDC compatible, int32_t width, int32_t height) {
    if (context_ && dib_.width() == width && dib_.height() == height) return true;
    release();
    dib_ = DibSection::create(compatible, width, height);
    if (!dib_) return false;
    context_ = std::make_unique<MemoryContext>(compatible, dib_.bitmap());
    if (!*context_) {
        release();
        return false;
    }
    return true;
}

void BackBuffer::release() {
    context_.reset();
    dib_ = DibSection{};
}

}  // namespace orvane
