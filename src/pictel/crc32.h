#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// CRC-32 of zlib, PNG and IEEE 802.3 (reflected polynomial 0xEDB88320,
// initial value all ones, final complement), computed bit by bit.
uint32_t crc32(const uint8_t* bytes, size_t length);

}  // namespace orvane
