#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Line parameters as the communications API numbers them
// (parity 0 none / 2 even, stop bits 0 one / 2 two).
struct LineFraming {
    uint8_t byteSize;
    uint8_t parity;
    uint8_t stopBits;
};

// "8N1", "7E1", "8E1" or "8N2", exactly; anything else has no framing.
std::optional<LineFraming> findFraming(std::string_view name);

// "unknown framing: " followed by the name, each byte widened on its own.
std::wstring unknownFramingText(std::string_view name);

// The path handed to CreateFileW: COMn and comn get the device prefix
// (needed from COM10 on); any other name is used as given.
std::wstring serialDevicePath(std::wstring_view portName);

}  // namespace orvane
