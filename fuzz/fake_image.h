#pragma once

// A made-up image format for the fuzzer's stand-in decoder, and the sample
// files the fuzzer's media folders hold. "FAKEIMG", then width and height as
// little-endian 16-bit values, then any bytes, which seed the pixels.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pictel/canvas.h"

namespace orvane::fuzzing {

inline constexpr std::string_view kFakeImageMagic = "FAKEIMG";
inline constexpr size_t kFakeImageHeaderSize = 11;
// Largest picture the stand-in decoder makes (16 MiB of pixels); larger ones
// are refused the way a real decoder refuses what passes its own limit.
inline constexpr int64_t kFakeDecodeMaxPixels = int64_t(1) << 22;

std::string makeFakeImage(uint16_t width, uint16_t height, std::string_view tail = {});
// False, leaving out untouched, for anything but a fake image of 1 to
// kFakeDecodeMaxPixels pixels.
bool decodeFakeImage(const uint8_t* bytes, size_t length, Canvas& out);

// CRC-32 as zlib computes it, bit by bit: the fuzzer's own, so that a fault
// in the product's cannot hide itself.
uint32_t referenceCrc32(std::string_view bytes);
std::string encodeBase64(std::string_view bytes);

// Encoded files the generator sends, offers and names, and the media folders
// hold. Some are deliberately not decodable.
enum class Sample : uint8_t {
    CachedPng,     // 2 x 2, in the media cache as a png
    CachedJpeg,    // 5 x 3, in the media cache as a jpeg
    Logo,          // 17 x 9, in the repository
    Medium,        // 64 x 48, nowhere until sent
    OnePixel,      // 1 x 1
    Wide,          // 300 x 2
    NotAnImage,    // text; in the cache under its own CRC and length
    ZeroWidth,     // a fake header with width 0
    TooLarge,      // 65535 x 65535, refused by the decoder
    WrongLength,   // 40 x 4; its cache file is named with a length one too large
    Count
};

const std::string& sampleBytes(Sample sample);

}  // namespace orvane::fuzzing
