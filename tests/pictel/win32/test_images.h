#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pictel/canvas.h"

namespace orvane::testing {

// Encodes canvas pixels (32-bit BGRA, straight alpha) with the system's
// WIC encoder for the container format (PNG, JPEG ...).
std::vector<uint8_t> encodeWithWic(const GUID& container, const Canvas& canvas);

// A PNG of width x height black pixels, 1 bit per pixel: a valid file of
// any size whose bytes cost little to make.
std::vector<uint8_t> blankPng(uint32_t width, uint32_t height);

// A two-frame animated GIF of width x height pixels (at most 4 colours): every
// pixel of frame one is first[i], of frame two second[i], as palette
// indexes into colours (0x00RRGGBB).
std::vector<uint8_t> animatedGif(uint16_t width, uint16_t height, const uint32_t (&colours)[4],
                                 const std::vector<uint8_t>& first, const std::vector<uint8_t>& second);

// A short silent PCM WAV file.
std::vector<uint8_t> silentWav();

Canvas canvasOf(int32_t width, int32_t height, const std::vector<uint32_t>& pixels);

}  // namespace orvane::testing
