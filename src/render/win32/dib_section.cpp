#include "render/win32/dib_section.h"

#include <utility>

namespace orvane {

DibSection::DibSection(DibSection&& o) noexcept
    : bitmap_(std::exchange(o.bitmap_, nullptr)),
      pixels_(std::exchange(o.pixels_, nullptr)),
      width_(std::exchange(o.width_, 0)),
      height_(std::exchange(o.height_, 0)) {}

DibSection& DibSection::operator=(DibSection&& o) noexcept {
    if (this != &o) {
        reset();
        bitmap_ = std::exchange(o.bitmap_, nullptr);
        pixels_ = std::exchange(o.pixels_, nullptr);
        width_ = std::exchange(o.width_, 0);
        height_ = std::exchange(o.height_, 0);
    }
    return *this;
}

DibSection::~DibSection() { reset(); }

void DibSection::reset() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = height_ = 0;
}

DibSection DibSection::create(HDC compatible, int32_t width, int32_t height) {
    DibSection dib;
    if (width < 1 || height < 1) return dib;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return dib;
    }
    dib.bitmap_ = bitmap;
    dib.pixels_ = static_cast<uint32_t*>(bits);
    dib.width_ = width;
    dib.height_ = height;
    return dib;
}

MemoryContext::MemoryContext(HDC compatible, HBITMAP bitmap) {
    if (!bitmap) return;
    dc_ = CreateCompatibleDC(compatible);
    if (dc_) replaced_ = SelectObject(dc_, bitmap);
}

MemoryContext::~MemoryContext() {
    if (!dc_) return;
    if (replaced_) SelectObject(dc_, replaced_);
    DeleteDC(dc_);
}

}  // namespace orvane
