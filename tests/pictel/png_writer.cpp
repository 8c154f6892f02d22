#include "png_writer.h"

#include "pictel/crc32.h"

namespace orvane::testing {

namespace {

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void putLittle16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void putChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    putBig32(png, uint32_t(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBig32(png, crc32(typed.data(), typed.size()));
}

uint32_t adler32(const std::vector<uint8_t>& raw) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
    constexpr size_t kBlock = 65535;
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < kBlock ? raw.size() - at : kBlock;
        out.push_back(at + n == raw.size() ? 1 : 0);  // last block flag, stored
        putLittle16(out, uint32_t(n));
        putLittle16(out, uint32_t(~n & 0xFFFF));
        out.insert(out.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + n));
        at += n;
    } while (at < raw.size());
    putBig32(out, adler32(raw));
    return out;
}

}  // namespace

std::vector<uint8_t> storedPng(uint32_t width, uint32_t height, uint8_t colourType, uint8_t bitDepth,
                               const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, width);
    putBig32(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, 0});
    putChunk(png, "IHDR", header);
    const size_t rowBytes = height == 0 ? 0 : rows.size() / height;
    std::vector<uint8_t> filtered;
    filtered.reserve(rows.size() + height);
    for (uint32_t y = 0; y < height; ++y) {
        filtered.push_back(0);  // no filter
        filtered.insert(filtered.end(), rows.begin() + ptrdiff_t(y * rowBytes),
                        rows.begin() + ptrdiff_t((y + 1) * rowBytes));
    }
    putChunk(png, "IDAT", storedZlib(filtered));
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace orvane::testing
