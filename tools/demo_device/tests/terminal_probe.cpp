#include "terminal_probe.h"

#include <cstring>

namespace orvane::demo::testing {

namespace {

uint32_t big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}  // namespace

bool RecordingDecoder::decodeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    files.emplace_back(reinterpret_cast<const char*>(bytes), length);
    if (length < 24 || std::memcmp(bytes, "\x89PNG\r\n\x1A\n", 8) != 0) return false;
    out = Canvas{};
    out.width = int32_t(big32(bytes + 16));
    out.height = int32_t(big32(bytes + 20));
    out.pixels.assign(size_t(out.width) * size_t(out.height), 0xFF000000u);
    out.valid = true;
    return true;
}

void Screen::feed(const std::string& bytes) {
    orvane::feed(terminal, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string Screen::takeReplies() {
    std::vector<uint8_t> out;
    orvane::takeReplies(terminal, out);
    return std::string(out.begin(), out.end());
}

std::string Screen::rowText(int row) const {
    std::string text;
    for (const Cell& c : terminal.grid[size_t(row)]) text += c.ch < 0x80 ? char(c.ch) : '?';
    return text;
}

}  // namespace orvane::demo::testing
