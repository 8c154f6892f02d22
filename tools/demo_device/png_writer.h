#pragma once

#include <cstdint>
#include <string>

namespace orvane::demo {

// An 8-bit RGB picture, rows top to bottom, three bytes per pixel.
struct RgbImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::string pixels;
};

// A PNG file of the picture. The deflate stream uses stored blocks only:
// larger than a compressed file, but any decoder reads it and the device
// needs no compressor.
std::string encodePng(const RgbImage& image);

}  // namespace orvane::demo
