#pragma once

#include <array>
#include <cstdint>

namespace orvane {

// Upper half of code page 437, indexed by byte - 0x80.
extern const std::array<char16_t, 128> kCp437High;
// DEC special graphics for bytes 0x5F-0x7E, indexed by byte - 0x5F.
extern const std::array<char16_t, 32> kDecGraphics;

// Code unit shown for a received byte of 0x80 or more (IBM PC code page 437).
inline char16_t cp437ToUnicode(uint8_t byte) {
    return byte < 0x80 ? char16_t(byte) : kCp437High[byte - 0x80u];
}

// Code unit for a byte 0x5F-0x7E while the DEC special-graphics set is
// selected; other bytes come back unchanged.
inline char16_t decGraphicsToUnicode(uint8_t byte) {
    if (byte < 0x5F || byte > 0x7E) return char16_t(byte);
    return kDecGraphics[byte - 0x5Fu];
}

// The code unit a printable byte is written as, given the G0 set
// (0 ASCII, 1 DEC special graphics). High bytes always go through CP437.
inline char16_t glyphForByte(uint8_t byte, int32_t charset) {
    if (byte >= 0x80) return kCp437High[byte - 0x80u];
    return charset == 1 ? decGraphicsToUnicode(byte) : char16_t(byte);
}

}  // namespace orvane
