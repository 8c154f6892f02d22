#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

// The device's side of an inline transfer.
inline std::string encodeBase64(const std::vector<uint8_t>& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        uint32_t v = uint32_t(bytes[i]) << 16;
        if (n > 1) v |= uint32_t(bytes[i + 1]) << 8;
        if (n > 2) v |= bytes[i + 2];
        for (size_t k = 0; k < 4; ++k) out.push_back(k <= n ? alphabet[(v >> (18 - 6 * k)) & 63] : '=');
    }
    return out;
}

inline std::string replyText(int32_t code, int32_t id, int32_t value) {
    return "\x1b[=" + std::to_string(code) + ";" + std::to_string(id) + ";" + std::to_string(value) + "w";
}

}  // namespace orvane::testing
