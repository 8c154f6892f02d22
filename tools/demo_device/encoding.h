#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::demo {

// CRC-32 as zlib and PNG compute it; the device announces it with an image
// and the terminal checks the bytes it decoded against it.
uint32_t crc32(const uint8_t* bytes, size_t length, uint32_t previous = 0);
uint32_t crc32(std::string_view bytes);

// Standard base64 with "=" padding, no line breaks.
std::string encodeBase64(std::string_view bytes);

}  // namespace orvane::demo
