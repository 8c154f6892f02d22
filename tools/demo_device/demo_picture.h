#pragma once

#include <cstdint>

#include "png_writer.h"

namespace orvane::demo {

// The picture the device sends inline: a view of the Mandelbrot set in a
// blue-to-gold palette, computed here so the device carries no image files.
RgbImage mandelbrotPicture(uint32_t width, uint32_t height);

}  // namespace orvane::demo
