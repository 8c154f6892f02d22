#include "png_writer.h"

#include "encoding.h"

namespace orvane::demo {

namespace {

void putBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(uint8_t(v >> shift)));
}

void putLittle16(std::string& out, uint32_t v) {
    out.push_back(char(uint8_t(v)));
    out.push_back(char(uint8_t(v >> 8)));
}

void putChunk(std::string& png, const char* type, const std::string& data) {
    putBig32(png, uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    putBig32(png, crc32(typed));
}

uint32_t adler32(const std::string& raw) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (const char ch : raw) {
        a = (a + uint8_t(ch)) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::string storedZlib(const std::string& raw) {
    constexpr size_t kBlock = 65535;  // largest stored block
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < kBlock ? raw.size() - at : kBlock;
        out.push_back(at + n == raw.size() ? 1 : 0);  // final-block flag, block type "stored"
        putLittle16(out, uint32_t(n));
        putLittle16(out, uint32_t(~n & 0xFFFF));
        out.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    putBig32(out, adler32(raw));
    return out;
}

}  // namespace

std::string encodePng(const RgbImage& image) {
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string header;
    putBig32(header, image.width);
    putBig32(header, image.height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter method, no interlace
    putChunk(png, "IHDR", header);

    const size_t rowBytes = size_t(image.width) * 3;
    std::string filtered;
    filtered.reserve(image.pixels.size() + image.height);
    for (uint32_t y = 0; y < image.height; ++y) {
        filtered.push_back(0);  // filter type none
        filtered.append(image.pixels, y * rowBytes, rowBytes);
    }
    putChunk(png, "IDAT", storedZlib(filtered));
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace orvane::demo
