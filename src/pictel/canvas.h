#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// A picture on the glass layer: 0xAARRGGBB pixels, row-major, top row first.
struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
    bool valid = false;
    uint32_t sourceCrc = 0;     // set when the canvas came through the media cache
    uint64_t sourceLength = 0;
    // The part placements show; a zero width or height means the whole canvas.
    int32_t viewX = 0;
    int32_t viewY = 0;
    int32_t viewWidth = 0;
    int32_t viewHeight = 0;
    // Changes whenever the pixels or the view may have changed, so a picture
    // can be compared without reading its pixels.
    uint64_t revision = 0;

    uint32_t& at(int32_t x, int32_t y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Largest canvas a device may create or load (256 MiB of pixels).
inline constexpr int64_t kMaxCanvasPixels = 0x4000000;

// 0x00BBGGRR as an opaque canvas pixel 0xFFRRGGBB.
constexpr uint32_t opaquePixel(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

}  // namespace orvane
