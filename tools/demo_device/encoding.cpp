#include "encoding.h"

#include <array>

namespace orvane::demo {

namespace {

std::array<uint32_t, 256> makeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

}  // namespace

uint32_t crc32(const uint8_t* bytes, size_t length, uint32_t previous) {
    static const std::array<uint32_t, 256> table = makeCrcTable();
    uint32_t c = ~previous;
    for (size_t i = 0; i < length; ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

uint32_t crc32(std::string_view bytes) {
    return crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        uint32_t group = uint32_t(uint8_t(bytes[i])) << 16;
        if (n > 1) group |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (n > 2) group |= uint32_t(uint8_t(bytes[i + 2]));
        for (size_t k = 0; k < 4; ++k)
            out.push_back(k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=');
    }
    return out;
}

}  // namespace orvane::demo
