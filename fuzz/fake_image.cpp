#include "fake_image.h"

#include <array>
#include <cstring>

namespace orvane::fuzzing {

namespace {

uint16_t readLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

void appendLe16(std::string& out, uint16_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8));
}

// Pixels vary with position and file, alpha included, so that copies and
// replacements show in the fuzzer's fingerprints.
uint32_t fakePixel(uint32_t seed, size_t index) {
    uint32_t v = seed ^ uint32_t(index) * 0x9E3779B9u;
    v ^= v >> 15;
    return v * 0x2C1B3C6Du;
}

}  // namespace

std::string makeFakeImage(uint16_t width, uint16_t height, std::string_view tail) {
    std::string bytes(kFakeImageMagic);
    appendLe16(bytes, width);
    appendLe16(bytes, height);
    bytes.append(tail);
    return bytes;
}

bool decodeFakeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    if (bytes == nullptr || length < kFakeImageHeaderSize) return false;
    if (std::memcmp(bytes, kFakeImageMagic.data(), kFakeImageMagic.size()) != 0) return false;
    const int32_t width = readLe16(bytes + kFakeImageMagic.size());
    const int32_t height = readLe16(bytes + kFakeImageMagic.size() + 2);
    const int64_t pixels = int64_t(width) * height;
    if (width < 1 || height < 1 || pixels > kFakeDecodeMaxPixels) return false;
    const uint32_t seed = referenceCrc32(std::string_view(reinterpret_cast<const char*>(bytes), length));
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.resize(size_t(pixels));
    for (size_t i = 0; i < canvas.pixels.size(); ++i) canvas.pixels[i] = fakePixel(seed, i);
    canvas.valid = true;
    out = std::move(canvas);
    return true;
}

uint32_t referenceCrc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= uint8_t(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
                           uint8_t(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) out.push_back(kAlphabet[(v >> shift) & 63]);
    }
    const size_t rest = bytes.size() - i;
    if (rest == 0) return out;
    uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
    if (rest == 2) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    out.push_back(kAlphabet[(v >> 18) & 63]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    out.push_back('=');
    return out;
}

const std::string& sampleBytes(Sample sample) {
    static const std::array<std::string, size_t(Sample::Count)> samples = {
        makeFakeImage(2, 2, "cached png"),
        makeFakeImage(5, 3, "cached jpeg"),
        makeFakeImage(17, 9, "logo"),
        makeFakeImage(64, 48, "medium"),
        makeFakeImage(1, 1),
        makeFakeImage(300, 2, "wide"),
        std::string("GIF89a, but only the name of one"),
        makeFakeImage(0, 5, "zero width"),
        makeFakeImage(65535, 65535, "too large"),
        makeFakeImage(40, 4, "wrong length"),
    };
    return samples[size_t(sample)];
}

}  // namespace orvane::fuzzing
